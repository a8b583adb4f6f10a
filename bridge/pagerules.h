#pragma once

#include <QHash>
#include <QJSEngine>
#include <QJSValue>
#include <QString>

// The screens' pure rule libraries (the `.js` files beside each page) for
// native code: the profile operation converts stored values exactly as the
// pages do, from the same source, so the two can never disagree. A library
// is loaded once, with its `.import` libraries bound under their names.
class PageRules
{
public:
    // qmlRoot: the folder holding main.qml ("qrc:" paths work too, as
    // ":/modules/qml").
    explicit PageRules(const QString &qmlRoot);

    // The library at `path` (relative to qmlRoot, e.g. "pages/dpi/dpi.js");
    // an error value when it cannot be read or run (one debug line).
    QJSValue library(const QString &path);

    // Calls `function` of a library; undefined when it is missing or throws.
    QJSValue call(const QString &path, const QString &function, const QJSValueList &args = {});

    QJSEngine &engine() { return m_engine; }

private:
    QString m_root;
    QJSEngine m_engine;
    QHash<QString, QJSValue> m_loaded;
};
