#pragma once

#include "store/filedialogs.h"

class QWidget;

// The platform's standard open and save dialogs, parented to the view.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent) : m_parent(parent) {}
    QString openFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder,
                         const QString &filter) override;

private:
    QWidget *m_parent;
};
