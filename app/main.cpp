#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

#include "app/basefolder.h"
#include "app/cmdline.h"
#include "app/console.h"
#include "app/freememory.h"
#include "app/guiprofilecontrol.h"
#include "gamewatch/gamewatcher.h"
#include "app/headlessprofilecontrol.h"
#include "app/hookcallbacks.h"
#include "app/inputhook.h"
#include "app/myqquickview.h"
#include "app/qtsinglecoreapplication.h"
#include "app/quickdefaults.h"
#include "app/widget.h"

namespace {

// How long a command waits for the running program's answer (a whole
// profile goes to the mouse meanwhile), and for a busy copy to finish.
constexpr int kReplyMs = 120000;
constexpr int kLockWaitMs = 15000;

void print(const QString &out, const QString &err)
{
    std::fputs(out.toLocal8Bit().constData(), stdout);
    std::fputs(err.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
}

QString executableFolder()
{
    const QString path = QCoreApplication::applicationFilePath();
    return path.left(path.lastIndexOf(QLatin1Char('/')));
}

// The data tree as the program would choose it, without asking anything of a
// display: a problem goes to standard error.
QString commandLineBaseFolder(const QString &appDir)
{
    const basefolder::Choice choice = programChoice(appDir);
    if (!choice.message.isEmpty())
        print(QString(), QStringLiteral("quillmouse: ") + choice.message + QLatin1Char('\n'));
    return choice.folder;
}

// A start with options: help and version at once; any other command goes to
// the running program, or is done here without a display when none runs.
int runCommandLine(int argc, char *argv[])
{
    console::useParentConsole();
    QCoreApplication app(argc, argv);
    // The program's diagnostics would only clutter what the command prints
    // (QT_LOGGING_RULES brings them back).
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const QStringList args = app.arguments().mid(1);
    const cmdline::Parsed parsed = cmdline::parse(args);
    if (!parsed.error.isEmpty() || !cmdline::needsProgram(parsed.command)) {
        const cmdline::Result r = cmdline::run(args, nullptr);
        print(r.out, r.err);
        return r.status;
    }
    // Files are named from where the command was given.
    cmdline::Command command = parsed.command;
    if (!command.file.isEmpty())
        command.file = QFileInfo(command.file).absoluteFilePath();

    SingleInstance instance(SingleInstance::defaultId(app.applicationFilePath()));
    const QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        if (instance.tryLock()) {
            // None runs; holding the lock keeps another command from the
            // mouse meanwhile.
            QDir::setCurrent(commandLineBaseFolder(executableFolder()));
            HeadlessProfileControl control;
            const cmdline::Result r = cmdline::run(command, control);
            print(r.out, r.err);
            return r.status;
        }
        CommandReply reply;
        switch (instance.sendCommand(cmdline::arguments(command), kReplyMs, &reply)) {
        case SingleInstance::Forward::Replied:
            print(reply.out, reply.err);
            return reply.status;
        case SingleInstance::Forward::NoReply:
            print(QString(), QStringLiteral("quillmouse: the running program did not answer\n"));
            return ProfileControl::WriteFailed;
        case SingleInstance::Forward::NotListening:
            break;   // starting, or another command works: ask again
        }
        if (deadline.hasExpired()) {
            print(QString(), QStringLiteral("quillmouse: another copy of the program is busy and does not answer\n"));
            return ProfileControl::WriteFailed;
        }
        QThread::msleep(100);
    }
}

// Options begin with "--" (or are -h); anything else is left to Qt, as before.
bool hasOptions(int argc, char *argv[])
{
    if (argc < 2)
        return false;
    const QByteArray first(argv[1]);
    return first.startsWith("--") || first == "-h";
}

} // namespace

int main(int argc, char *argv[])
{
    if (hasOptions(argc, argv))
        return runCommandLine(argc, argv);

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
    QDir::setCurrent(programBaseFolder(executableFolder()));

    auto *window = new Widget;
    quickdefaults::reportFirstFrame(window->view());
    QObject::connect(app, &QtSingleCoreApplication::messageReceived, window, &Widget::receiveMessage);
    GuiProfileControl control(window);
    // Game profiles switch exactly as the command line does.
    window->gameWatcher()->setControl(&control);
    app->instance().setCommandHandler([&control](const QStringList &arguments) {
        const cmdline::Result r = cmdline::run(arguments, &control);
        return CommandReply{r.status, r.out, r.err};
    });

    InputHook::init(0);   // runs on without captured input when it fails
    InputHook::setKeyboardCallback(keyboardHookCallback, window);
    InputHook::setMouseCallback(mouseHookCallback, window);
    InputHook::setCopyDataCallback(copyDataCallback, app, window);

    window->showNormal();
    window->checkDevice();

    const int result = app->exec();

    app->instance().setCommandHandler(nullptr);
    InputHook::removeHooks();
    window->gameWatcher()->setControl(nullptr);
    delete window;
    delete app;
    return result;
}
