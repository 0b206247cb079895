#pragma once

// The launcher as a user meets it in a copy of the program: where its menu
// buttons lie, and the way from the start to the launcher and on to the
// session list. Places are pixels of the launcher's inner area (its design in
// twips, 15 to the pixel).

#include "e2e/program_copy.h"

#include <QPoint>
#include <QSize>
#include <QString>

namespace launcher_steps {

inline const QSize kLauncherSize(626, 403);
inline const QSize kSplashSize(264, 258);
inline const QString kSessionList = "Join or Create Game";

// A menu page's places from the top: every button lies at one of them.
inline constexpr int kPlaces = 5;
// The buttons by their place on their page: on the first page
// CONFIGURATIONS, PLAY QUELLMAR and QUITTER; on the play page SERVEUR WEB and
// LAN; RETOUR on every other page.
inline constexpr int kConfigurationsPlace = 0, kPlayPlace = 1, kQuitPlace = 4, kWebPlace = 0, kLanPlace = 1,
                     kReturnPlace = 4;

inline constexpr QPoint kPage(6, 156);
inline constexpr QSize kButton(227, 28);

// A button's top left corner in the window, and the middle where it is
// clicked.
QPoint ButtonAt(int place);
QPoint Middle(int place);

// Starts the program, answers the release notes with Return and waits for
// the launcher; none when it does not come. ToTheLauncher does the same for
// a program already started.
ShownWindow StartToTheLauncher(ProgramCopy& copy, const std::map<QString, QString>& environment = {});
ShownWindow ToTheLauncher(ProgramCopy& copy);

// LAN from the play page, or PLAY QUELLMAR then LAN from the first page, and
// the session list it shows; none when it does not come.
ShownWindow Lan(ProgramCopy& copy, const ShownWindow& launcher);
ShownWindow PlayOnLan(ProgramCopy& copy, const ShownWindow& launcher);
// PLAY QUELLMAR then SERVEUR WEB, and the session list it shows once the
// web requests are answered; none when it does not come.
ShownWindow PlayOnTheWeb(ProgramCopy& copy, const ShownWindow& launcher);

// Opens the drop-down list at `list` and chooses row `row` from the
// keyboard. The mouse stays until the list has closed: a list still open
// takes the mouse's moves, and the box under it would keep its highlight.
void ChooseRow(ProgramCopy& copy, const ShownWindow& window, QPoint list, int row);

}  // namespace launcher_steps
