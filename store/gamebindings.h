#pragma once

#include <QList>
#include <QString>

// Which profile goes with which game: ./modules/setting/games.ini, an INI
// file of its own so that a damaged one costs only the bindings.
//
//   [bindings]
//   1\program=eldenring.exe
//   1\profile=2
//   size=1
//
// A program is an executable's name ("eldenring.exe", "hl2_linux") or a path
// prefix such as a game's folder ("/home/me/Games/Witcher 3"); the watcher
// decides what matches (gamewatch/gamematch.h).
struct GameBinding
{
    QString program;
    int profile = 0;   // 0-5

    bool operator==(const GameBinding &o) const
    {
        return program == o.program && profile == o.profile;
    }
};

class GameBindings
{
public:
    // path is "./modules/setting/games.ini" in the program.
    explicit GameBindings(const QString &path);

    static constexpr int kProfileCount = 6;

    // Reads the file. A missing file is no bindings and no fault. A file
    // that cannot be read, or holds entries that make no binding, is
    // damaged: the good entries are kept and damaged() says so.
    void load();
    bool damaged() const { return m_damaged; }
    QString path() const { return m_path; }

    QList<GameBinding> bindings() const { return m_bindings; }
    QList<GameBinding> bindingsOf(int profile) const;

    // The program text as stored: blanks around it and trailing separators
    // of a folder go (a folder "/games/x/" is "/games/x").
    static QString normalised(const QString &program);

    // Adds and writes at once. False, with nothing changed, when the program
    // is blank, the profile out of range, the binding already there, or the
    // file cannot be written. A program bound to another profile moves to
    // this one: one program has one profile.
    bool add(const QString &program, int profile);
    // False when there is no such binding or the file cannot be written.
    bool remove(const QString &program, int profile);

private:
    // Replaces the file whole with the current bindings. A damaged file is
    // kept beside it as games.ini.damaged first, so entries this program
    // could not read are not lost to the user.
    bool save(const QList<GameBinding> &bindings);

    QString m_path;
    QList<GameBinding> m_bindings;
    bool m_damaged = false;
};
