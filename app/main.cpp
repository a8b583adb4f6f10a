#include <QDir>

#include "app/basefolder.h"
#include "app/freememory.h"
#include "app/hookcallbacks.h"
#include "app/inputhook.h"
#include "app/myqquickview.h"
#include "app/qtsinglecoreapplication.h"
#include "app/quickdefaults.h"
#include "app/widget.h"

int main(int argc, char *argv[])
{
    freememory::keepLargeBlocksApart();
    quickdefaults::useSoftwareUnlessChosen();
    auto *app = new QtSingleCoreApplication(argc, argv);
    if (app->isRunning()) {
        app->sendMessage(QString(), 5000);   // wakes the running copy; result ignored
        delete app;
        return 1;
    }

    // Every data path is ./modules/...: anchor it beside the executable, or
    // at the user's copy of the data tree when the program is installed.
    QString appDir = QCoreApplication::applicationFilePath();
    appDir = appDir.left(appDir.lastIndexOf(QLatin1Char('/')));
    QDir::setCurrent(programBaseFolder(appDir));

    auto *window = new Widget;
    quickdefaults::reportFirstFrame(window->view());
    QObject::connect(app, &QtSingleCoreApplication::messageReceived, window, &Widget::receiveMessage);

    InputHook::init(0);   // runs on without captured input when it fails
    InputHook::setKeyboardCallback(keyboardHookCallback, window);
    InputHook::setMouseCallback(mouseHookCallback, window);
    InputHook::setCopyDataCallback(copyDataCallback, app, window);

    window->showNormal();
    window->checkDevice();

    const int result = app->exec();

    InputHook::removeHooks();
    delete window;
    delete app;
    return result;
}
