// The view's game-binding operations: thin forwarders to games.ini and the
// process list.
#include "app/myqquickview.h"

#include "gamewatch/processlist.h"
#include "store/gamebindings.h"

namespace {

const QString kGames = QStringLiteral("./modules/setting/games.ini");

GameBindings loaded()
{
    GameBindings games(kGames);
    games.load();
    return games;
}

} // namespace

QStringList myQQuickView::runningPrograms()
{
    return ProcessList::userProgramNames();
}

QStringList myQQuickView::gameBindings(int profile)
{
    QStringList out;
    for (const GameBinding &b : loaded().bindingsOf(profile))
        out.append(b.program);
    return out;
}

bool myQQuickView::addGameBinding(QString program, int profile)
{
    GameBindings games = loaded();
    if (!games.add(program, profile))
        return false;
    emit gameBindingsChanged();
    return true;
}

bool myQQuickView::removeGameBinding(QString program, int profile)
{
    GameBindings games = loaded();
    if (!games.remove(program, profile))
        return false;
    emit gameBindingsChanged();
    return true;
}
