#include "app/basefolder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

basefolder::Choice programChoice(const QString &appDir)
{
    // A build tree or an unpacked folder the user owns works in place.
    if (QFileInfo(appDir).isWritable())
        return {appDir, QString()};

    // A system install: $XDG_DATA_HOME/<program>, named after the executable
    // file itself so that a start through a link finds the same folder.
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return basefolder::choose(appDir, false, basefolder::userFolder(dataHome, program));
}

QString programBaseFolder(const QString &appDir)
{
    const basefolder::Choice choice = programChoice(appDir);
    if (!choice.message.isEmpty()) {
        qWarning().noquote() << choice.message;
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        auto *box = new QMessageBox(QMessageBox::Warning, program, choice.message);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    }
    return choice.folder;
}
