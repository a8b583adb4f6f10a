#include "store/gamebindings.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "store/fileops.h"
#include "store/inicompat.h"

namespace {

const QString kArray = QStringLiteral("bindings");

bool validProfile(int profile)
{
    return profile >= 0 && profile < GameBindings::kProfileCount;
}

} // namespace

GameBindings::GameBindings(const QString &path)
    : m_path(path)
{
}

void GameBindings::load()
{
    m_bindings.clear();
    m_damaged = false;
    const QFileInfo info(m_path);
    if (!info.exists())
        return;
    QFile probe(m_path);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        m_damaged = true;
        return;
    }
    probe.close();

    auto ini = IniCompat::open(m_path);
    if (ini->status() != QSettings::NoError)
        m_damaged = true;
    bool sizeOk = false;
    const QVariant sizeValue = ini->value(kArray + QStringLiteral("/size"));
    const int size = sizeValue.toInt(&sizeOk);
    if (!sizeValue.isValid()) {
        // A file with no list at all is damaged unless it is empty.
        if (!ini->allKeys().isEmpty())
            m_damaged = true;
        return;
    }
    if (!sizeOk || size < 0) {
        m_damaged = true;
        return;
    }
    const int n = ini->beginReadArray(kArray);
    for (int i = 0; i < n; ++i) {
        ini->setArrayIndex(i);
        bool ok = false;
        const QString program = normalised(ini->value(QStringLiteral("program")).toString());
        const int profile = ini->value(QStringLiteral("profile")).toInt(&ok);
        const GameBinding b{program, profile};
        if (program.isEmpty() || !ok || !validProfile(profile)) {
            m_damaged = true;
            continue;
        }
        if (!m_bindings.contains(b))
            m_bindings.append(b);
    }
    ini->endArray();
}

QList<GameBinding> GameBindings::bindingsOf(int profile) const
{
    QList<GameBinding> out;
    for (const GameBinding &b : m_bindings) {
        if (b.profile == profile)
            out.append(b);
    }
    return out;
}

QString GameBindings::normalised(const QString &program)
{
    QString p = program.trimmed();
    while (p.size() > 1 && (p.endsWith(QLatin1Char('/')) || p.endsWith(QLatin1Char('\\'))))
        p.chop(1);
    return p;
}

bool GameBindings::add(const QString &program, int profile)
{
    const QString p = normalised(program);
    if (p.isEmpty() || !validProfile(profile))
        return false;
    QList<GameBinding> next;
    for (const GameBinding &b : m_bindings) {
        if (b.program == p && b.profile == profile)
            return false;
        if (b.program != p)
            next.append(b);
    }
    next.append({p, profile});
    return save(next);
}

bool GameBindings::remove(const QString &program, int profile)
{
    QList<GameBinding> next = m_bindings;
    if (!next.removeOne({normalised(program), profile}))
        return false;
    return save(next);
}

bool GameBindings::save(const QList<GameBinding> &bindings)
{
    const QFileInfo target(m_path);
    // Written beside the target and put in place whole.
    QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                       + QStringLiteral(".XXXXXX"));
    if (!tmp.open()) {
        qDebug() << "games:" << m_path << "not written";
        return false;
    }
    tmp.close();
    {
        auto ini = IniCompat::open(tmp.fileName());
        ini->beginWriteArray(kArray, int(bindings.size()));
        for (int i = 0; i < bindings.size(); ++i) {
            ini->setArrayIndex(i);
            ini->setValue(QStringLiteral("program"), bindings.at(i).program);
            ini->setValue(QStringLiteral("profile"), bindings.at(i).profile);
        }
        ini->endArray();
        ini->sync();
        if (ini->status() != QSettings::NoError) {
            qDebug() << "games:" << m_path << "not written";
            return false;
        }
    }
    if (m_damaged && target.exists())
        FileOps::replaceFile(m_path, m_path + QStringLiteral(".damaged"));
    if (!FileOps::replaceFile(tmp.fileName(), m_path)) {
        qDebug() << "games:" << m_path << "not written";
        return false;
    }
    m_bindings = bindings;
    m_damaged = false;
    return true;
}
