#include "app/cmdline.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#ifndef QUILL_VERSION
#define QUILL_VERSION "0"
#endif

namespace cmdline {

namespace {

const QString kMarker = QStringLiteral("loaderzentic");

bool toInt(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok, 10);
    return ok && !text.startsWith(QLatin1Char('+'));
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString nameOf(const ProfileRows &rows, int number)
{
    for (const auto &row : rows) {
        if (row.first == number)
            return row.second;
    }
    return QString();
}

Result fail(int status, const QString &message)
{
    return Result{status, QString(), QStringLiteral("quillmouse: ") + message + QLatin1Char('\n')};
}

Result done(const QString &text)
{
    return Result{ProfileControl::Done, text, QString()};
}

Result deviceFailure(ProfileControl::Status status)
{
    if (status == ProfileControl::NoMouse)
        return fail(status, QStringLiteral("no mouse connected"));
    return fail(status, QStringLiteral("the mouse did not take the setting (a write failed)"));
}

} // namespace

Parsed parse(const QStringList &arguments)
{
    Parsed p;
    Command &c = p.command;
    auto setAction = [&](Action a, const QString &option) {
        if (c.action != Action::None) {
            p.error = QStringLiteral("%1: only one command at a time").arg(option);
            return false;
        }
        c.action = a;
        return true;
    };
    auto profileNumber = [&](const QString &option, const QString &text) {
        int n = -1;
        if (!toInt(text, &n) || n < 0 || n >= MaxProfiles) {
            p.error = QStringLiteral("%1: profile %2 is not a number from 0 to 5").arg(option, quoted(text));
            return -1;
        }
        return n;
    };

    for (int i = 0; i < arguments.size() && p.error.isEmpty(); ++i) {
        QString option = arguments.at(i);
        QString inlineValue;
        bool hasInline = false;
        const int eq = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && eq > 2) {
            inlineValue = option.mid(eq + 1);
            option = option.left(eq);
            hasInline = true;
        }
        // The next value of the option; false (with the message) when missing.
        auto value = [&](QString *out) {
            if (hasInline) {
                *out = inlineValue;
                hasInline = false;
                return true;
            }
            if (i + 1 >= arguments.size()) {
                p.error = QStringLiteral("%1: a value is missing").arg(option);
                return false;
            }
            *out = arguments.at(++i);
            return true;
        };

        QString v;
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            setAction(Action::Help, option);
        } else if (option == QLatin1String("--version")) {
            setAction(Action::Version, option);
        } else if (option == QLatin1String("--json")) {
            c.json = true;
        } else if (option == QLatin1String("--list-profiles")) {
            setAction(Action::ListProfiles, option);
        } else if (option == QLatin1String("--status")) {
            setAction(Action::Status, option);
        } else if (option == QLatin1String("--profile")) {
            if (setAction(Action::Profile, option) && value(&v)) {
                if (v.isEmpty())
                    p.error = QStringLiteral("--profile: the profile is empty");
                c.profile = v;
            }
        } else if (option == QLatin1String("--dpi-stage")) {
            if (setAction(Action::DpiStage, option) && value(&v)) {
                if (!toInt(v, &c.number) || c.number < 1 || c.number > MaxStage)
                    p.error = QStringLiteral("--dpi-stage: stage %1 is not a number from 1 to 8").arg(quoted(v));
            }
        } else if (option == QLatin1String("--export-profile") || option == QLatin1String("--import-profile")) {
            const Action a = option == QLatin1String("--export-profile") ? Action::ExportProfile
                                                                          : Action::ImportProfile;
            if (setAction(a, option) && value(&v)) {
                c.number = profileNumber(option, v);
                if (p.error.isEmpty() && value(&c.file) && c.file.isEmpty())
                    p.error = QStringLiteral("%1: the file name is empty").arg(option);
            }
        } else {
            p.error = option.startsWith(QLatin1Char('-'))
                          ? QStringLiteral("unknown option %1").arg(quoted(option))
                          : QStringLiteral("unexpected argument %1").arg(quoted(option));
        }
        if (p.error.isEmpty() && hasInline)
            p.error = QStringLiteral("%1 takes no value").arg(option);
    }

    if (p.error.isEmpty() && c.json && c.action != Action::Status && c.action != Action::ListProfiles)
        p.error = QStringLiteral("--json goes with --status or --list-profiles");
    if (!p.error.isEmpty())
        p.command = Command();
    return p;
}

QStringList arguments(const Command &c)
{
    QStringList a;
    switch (c.action) {
    case Action::None: break;
    case Action::Help: a << QStringLiteral("--help"); break;
    case Action::Version: a << QStringLiteral("--version"); break;
    case Action::Profile: a << QStringLiteral("--profile") << c.profile; break;
    case Action::DpiStage: a << QStringLiteral("--dpi-stage") << QString::number(c.number); break;
    case Action::ListProfiles: a << QStringLiteral("--list-profiles"); break;
    case Action::Status: a << QStringLiteral("--status"); break;
    case Action::ExportProfile:
        a << QStringLiteral("--export-profile") << QString::number(c.number) << c.file;
        break;
    case Action::ImportProfile:
        a << QStringLiteral("--import-profile") << QString::number(c.number) << c.file;
        break;
    }
    if (c.json)
        a << QStringLiteral("--json");
    return a;
}

bool needsProgram(const Command &c)
{
    return c.action != Action::None && c.action != Action::Help && c.action != Action::Version;
}

QString usage()
{
    return QStringLiteral(
        "Usage: quillmouse [option]\n"
        "Without options the program starts with its window and tray icon.\n"
        "\n"
        "  --profile N|NAME          make profile N (0-5) or the profile named NAME\n"
        "                            the active one and send it to the mouse\n"
        "  --dpi-stage N             set the current DPI stage (1-8)\n"
        "  --list-profiles           list the profiles (* marks the active one)\n"
        "  --status                  mouse connected, family, active profile,\n"
        "                            DPI stage, report rate\n"
        "  --json                    with --status or --list-profiles: JSON output\n"
        "  --export-profile N FILE   write profile N to FILE (.pf)\n"
        "  --import-profile N FILE   replace profile N by FILE (.pf)\n"
        "  --help, --version\n"
        "\n"
        "When the program runs, the command goes to it and its screens follow.\n"
        "Exit status: 0 done, 2 bad arguments or unknown profile, 3 no mouse\n"
        "connected, 4 the mouse refused or a write failed.\n");
}

QString versionText()
{
    return QStringLiteral("quillmouse " QUILL_VERSION "\n");
}

ProfileRows rowsOf(const QVariantList &stored)
{
    QVariantList list = stored;
    if (list.size() == 2 && list.at(1).toString() == kMarker)
        list.removeLast();
    ProfileRows rows;
    for (const QVariant &v : list) {
        const QString s = v.toString();
        if (s.isEmpty())
            continue;
        const int n = s.right(1).toInt();   // not a digit reads as 0, as on the screens
        rows.append({n, s.left(s.size() - 1)});
    }
    if (rows.isEmpty())
        rows.append({0, QStringLiteral("Standard")});
    return rows;
}

QStringList withRowFor(const ProfileRows &rows, int number)
{
    QStringList stored;
    bool present = false;
    for (const auto &row : rows) {
        stored << row.second + QString::number(row.first);
        present = present || row.first == number;
    }
    if (!present) {
        int i = 0;
        auto taken = [&rows](const QString &name) {
            return std::any_of(rows.begin(), rows.end(), [&](const auto &r) { return r.second == name; });
        };
        while (i < 12 && taken(QStringLiteral("profile_%1").arg(i)))
            ++i;
        stored << QStringLiteral("profile_%1%2").arg(i).arg(number);
    }
    return stored;
}

int resolveProfile(const QString &argument, const ProfileRows &rows, QString *error)
{
    int n = -1;
    const bool isNumber = toInt(argument, &n);
    for (const auto &row : rows) {
        if (isNumber ? row.first == n : row.second == argument)
            return row.first;
    }
    if (error) {
        *error = isNumber ? QStringLiteral("unknown profile %1 (no profile row has this number)").arg(n)
                          : QStringLiteral("unknown profile %1 (no profile row has this name)").arg(quoted(argument));
    }
    return -1;
}

int reportRateHz(int index)
{
    static const int hz[] = {125, 250, 500, 1000};
    return index >= 0 && index < 4 ? hz[index] : 0;
}

QString formatProfiles(const ProfileRows &rows, int active, bool json)
{
    if (json) {
        QJsonArray list;
        for (const auto &row : rows)
            list.append(QJsonObject{{QStringLiteral("number"), row.first},
                                    {QStringLiteral("name"), row.second},
                                    {QStringLiteral("active"), row.first == active}});
        return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
    }
    QString out;
    for (const auto &row : rows)
        out += QStringLiteral("%1 %2 %3\n").arg(row.first == active ? QLatin1Char('*') : QLatin1Char(' '))
                   .arg(row.first).arg(row.second);
    return out;
}

QString formatStatus(const ProfileControl::DeviceStatus &s, const ProfileRows &rows, bool json)
{
    const QString name = nameOf(rows, s.activeProfile);
    if (json) {
        QJsonObject o{{QStringLiteral("connected"), s.connected},
                      {QStringLiteral("family"), s.family},
                      {QStringLiteral("activeProfile"), s.activeProfile},
                      {QStringLiteral("activeProfileName"), name},
                      {QStringLiteral("currentStage"), s.currentStage},
                      {QStringLiteral("reportRate"), s.reportRate}};
        return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) + QLatin1Char('\n');
    }
    const QString unknown = QStringLiteral("unknown");
    QString out;
    out += QStringLiteral("mouse: %1\n").arg(s.connected ? QStringLiteral("connected") : QStringLiteral("not connected"));
    out += QStringLiteral("family: %1\n").arg(s.family.isEmpty() ? unknown : s.family);
    out += QStringLiteral("profile: %1 %2\n").arg(s.activeProfile).arg(name).trimmed() + QLatin1Char('\n');
    out += QStringLiteral("dpi stage: %1\n").arg(s.currentStage > 0 ? QString::number(s.currentStage) : unknown);
    out += QStringLiteral("report rate: %1\n")
               .arg(s.reportRate > 0 ? QStringLiteral("%1 Hz").arg(s.reportRate) : unknown);
    return out;
}

Result run(const Command &c, ProfileControl &control)
{
    const ProfileRows rows = control.profiles();
    QString error;
    switch (c.action) {
    case Action::None:
    case Action::Help:
    case Action::Version:
        return run(arguments(c), nullptr);
    case Action::ListProfiles:
        return done(formatProfiles(rows, control.activeProfile(), c.json));
    case Action::Status:
        return done(formatStatus(control.status(), rows, c.json));
    case Action::Profile: {
        const int n = resolveProfile(c.profile, rows, &error);
        if (n < 0)
            return fail(ProfileControl::BadArguments, error);
        const ProfileControl::Status s = control.activateProfile(n);
        if (s != ProfileControl::Done)
            return deviceFailure(s);
        return done(QStringLiteral("profile %1 %2 is active\n").arg(n).arg(quoted(nameOf(rows, n))));
    }
    case Action::DpiStage: {
        const ProfileControl::Status s = control.setDpiStage(c.number);
        if (s != ProfileControl::Done)
            return deviceFailure(s);
        return done(QStringLiteral("DPI stage %1 is current\n").arg(c.number));
    }
    case Action::ExportProfile:
        if (!control.exportProfile(c.number, c.file, &error))
            return fail(ProfileControl::BadArguments, error);
        return done(QStringLiteral("profile %1 exported to %2\n").arg(c.number).arg(c.file));
    case Action::ImportProfile:
        if (!control.importProfile(c.number, c.file, &error))
            return fail(ProfileControl::BadArguments, error);
        return done(QStringLiteral("%1 imported into profile %2\n").arg(c.file).arg(c.number));
    }
    return Result();
}

Result run(const QStringList &args, ProfileControl *control)
{
    const Parsed p = parse(args);
    if (!p.error.isEmpty())
        return fail(ProfileControl::BadArguments, p.error + QStringLiteral(" (see --help)"));
    if (p.command.action == Action::Help)
        return done(usage());
    if (p.command.action == Action::Version)
        return done(versionText());
    if (!control || p.command.action == Action::None)
        return Result();
    return run(p.command, *control);
}

} // namespace cmdline
