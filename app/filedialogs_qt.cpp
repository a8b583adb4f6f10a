#include "app/filedialogs_qt.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace {
QString translated(const QString &text)
{
    return QCoreApplication::translate("myQQuickView", text.toUtf8().constData());
}
} // namespace

QString QtFileDialogs::openFileName(const QString &title, const QString &folder,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, translated(title), folder, translated(filter));
}

QString QtFileDialogs::saveFileName(const QString &title, const QString &folder,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, translated(title), folder, translated(filter));
}
