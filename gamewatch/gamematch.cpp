#include "gamewatch/gamematch.h"

namespace gamematch {

namespace {

constexpr int kCommLength = 15;

QString baseName(const QString &path)
{
    const qsizetype cut = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

bool windowsStyle(const QString &s)
{
    return s.contains(QLatin1Char('\\'))
           || (s.size() >= 2 && s.at(1) == QLatin1Char(':') && s.at(0).isLetter());
}

// `path` is `prefix` or lies below it; both normalised.
bool underPath(const QString &path, const QString &prefix, Qt::CaseSensitivity cs)
{
    if (prefix.isEmpty() || !path.startsWith(prefix, cs))
        return false;
    return path.size() == prefix.size() || prefix.endsWith(QLatin1Char('/'))
           || path.at(prefix.size()) == QLatin1Char('/');
}

} // namespace

bool isPath(const QString &program)
{
    return program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'));
}

QString normalisedPath(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.size() >= 3 && (p.at(0) == QLatin1Char('Z') || p.at(0) == QLatin1Char('z'))
        && p.at(1) == QLatin1Char(':') && p.at(2) == QLatin1Char('/'))
        p.remove(0, 2);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

bool matchesName(const QString &name, const ProcessInfo &process)
{
    if (name.isEmpty())
        return false;
    const Qt::CaseSensitivity cs =
        name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!process.exe.isEmpty() && baseName(process.exe).compare(name, cs) == 0)
        return true;
    for (const QString &arg : process.args) {
        if (baseName(arg).compare(name, cs) == 0)
            return true;
    }
    // The short name alone proves only a name that it holds whole.
    return name.size() <= kCommLength && process.comm.compare(name, cs) == 0;
}

bool matchesPath(const QString &path, const ProcessInfo &process)
{
    const QString prefix = normalisedPath(path);
    if (prefix.isEmpty())
        return false;
    const Qt::CaseSensitivity bindingCs = windowsStyle(path) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!process.exe.isEmpty() && underPath(normalisedPath(process.exe), prefix, bindingCs))
        return true;
    for (const QString &arg : process.args) {
        const Qt::CaseSensitivity cs = windowsStyle(arg) ? Qt::CaseInsensitive : bindingCs;
        if (underPath(normalisedPath(arg), prefix, cs))
            return true;
    }
    return false;
}

bool matches(const QString &program, const ProcessInfo &process)
{
    return isPath(program) ? matchesPath(program, process) : matchesName(program, process);
}

int bindingFor(const QList<GameBinding> &bindings, const ProcessInfo &process)
{
    int best = -1;
    for (int i = 0; i < bindings.size(); ++i) {
        if ((best < 0 || bindings.at(i).program.size() > bindings.at(best).program.size())
            && matches(bindings.at(i).program, process))
            best = i;
    }
    return best;
}

} // namespace gamematch
