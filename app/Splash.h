#pragma once

#include <QWidget>

// The window shown while the program starts.
class Splash : public QWidget
{
    Q_OBJECT
public:
    explicit Splash(QWidget *parent = nullptr);

    // Centred across, a quarter of the free height down.
    void placeOnScreen();
};
