// A minimal program over the single-instance application object: the first
// copy prints "primary" and, on a message, "message:<text>" and quits; a later
// copy sends its first argument and exits with 1.
#include <cstdio>

#include "app/qtsinglecoreapplication.h"

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QtSingleCoreApplication app(argc, argv);
    const QString text = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (app.isRunning()) {
        const bool sent = app.sendMessage(text, 5000);
        std::printf("%s\n", sent ? "sent" : "not-sent");
        return 1;
    }
    QObject::connect(&app, &QtSingleCoreApplication::messageReceived, &app, [](const QString &message) {
        std::printf("message:%s\n", qPrintable(message));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    std::printf("primary\n");
    std::fflush(stdout);
    return app.exec();
}
