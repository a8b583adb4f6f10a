#include "bridge/pagerules.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

PageRules::PageRules(const QString &qmlRoot)
    : m_root(qmlRoot)
{
}

QJSValue PageRules::library(const QString &path)
{
    const QString key = QDir::cleanPath(path);
    auto found = m_loaded.constFind(key);
    if (found != m_loaded.constEnd())
        return *found;

    QFile f(m_root + QLatin1Char('/') + key);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Rules library not found:" << f.fileName();
        return m_engine.newErrorObject(QJSValue::ReferenceError, key);
    }
    const QString source = QString::fromUtf8(f.readAll());

    // A QML library: `.pragma` and `.import "file" as Name` lines, then
    // plain declarations. The imports become parameters of a wrapper, the
    // top-level functions and variables its result.
    static const QRegularExpression importLine(QStringLiteral("^\\.import\\s+\"([^\"]+)\"\\s+as\\s+(\\w+)"));
    static const QRegularExpression declaration(QStringLiteral("^(?:function|var)\\s+(\\w+)"));
    QStringList params, exports, body;
    QJSValueList args;
    const QString dir = QFileInfo(key).path();
    for (const QString &line : source.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('.'))) {
            const QRegularExpressionMatch m = importLine.match(line);
            if (m.hasMatch()) {
                params << m.captured(2);
                args << library(QDir::cleanPath(dir + QLatin1Char('/') + m.captured(1)));
            }
            body << QString();   // keeps line numbers for error messages
            continue;
        }
        const QRegularExpressionMatch m = declaration.match(line);
        if (m.hasMatch() && !exports.contains(m.captured(1)))
            exports << m.captured(1);
        body << line;
    }
    QStringList members;
    for (const QString &name : exports)
        members << name + QLatin1String(": ") + name;
    const QString wrapper = QLatin1String("(function(") + params.join(QLatin1Char(',')) + QLatin1String(") {\n")
                            + body.join(QLatin1Char('\n')) + QLatin1String("\nreturn {")
                            + members.join(QLatin1Char(',')) + QLatin1String("}; })");
    QJSValue factory = m_engine.evaluate(wrapper, f.fileName());
    QJSValue lib = factory.isError() ? factory : factory.call(args);
    if (lib.isError())
        qDebug().noquote() << "Rules library" << key << "failed:" << lib.toString();
    m_loaded.insert(key, lib);
    return lib;
}

QJSValue PageRules::call(const QString &path, const QString &function, const QJSValueList &args)
{
    QJSValue lib = library(path);
    QJSValue fn = lib.property(function);
    if (!fn.isCallable())
        return QJSValue();
    QJSValue result = fn.call(args);
    if (result.isError()) {
        qDebug().noquote() << "Rules" << path << function << "failed:" << result.toString();
        return QJSValue();
    }
    return result;
}
