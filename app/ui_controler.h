#pragma once

#include <QObject>

class QWidget;
class myQQuickView;

// Turns the main window into a frameless translucent window, hosts the QML
// view in it and offers QML the window operations and the busy lock.
class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    Ui_Controler() = default;
    void setup(QWidget *window);

    QWidget *window = nullptr;
    myQQuickView *view = nullptr;

public slots:
    void onMinimize();
    void onClose();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();
};
