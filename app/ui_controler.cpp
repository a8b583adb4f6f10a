#include "app/ui_controler.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QWidget>

#include "app/myqquickview.h"
#include "app/widget.h"
#include "bridge/qmltypes.h"

void Ui_Controler::setup(QWidget *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    this->window = window;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    view = new myQQuickView(window);
    view->setObjectName(QStringLiteral("ui_View"));
    // The screens import the native helpers (not context properties).
    qmltypes::registerTypes();
    view->setSource(QUrl(QStringLiteral("qrc:modules/qml/main.qml")));

    // Set after loading: the screens use them only in functions and handlers.
    QQmlContext *context = view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), view);
    auto *mainWindow = qobject_cast<Widget *>(window);
    context->setContextProperty(QStringLiteral("hid"), mainWindow ? &mainWindow->device() : nullptr);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);

    window->resize(view->size());
    window->setWindowTitle(view->getGlobalData(QStringLiteral("common/name")).toString());
}

void Ui_Controler::onMinimize()
{
    if (window)
        window->showMinimized();
}

void Ui_Controler::onClose()
{
    if (auto *mainWindow = qobject_cast<Widget *>(window))
        mainWindow->closeWindow();
    else if (window)
        window->setVisible(false);
}

void Ui_Controler::onXChanged(int x)
{
    if (window)
        window->move(window->x() + x, window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (window)
        window->move(window->x(), window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (view)
        view->setBusy(busyTime);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
