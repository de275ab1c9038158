#pragma once

#include <QString>

// Placed between "Tervix " and " SFP..." in every message box title; empty
// unless a program assigns it.
extern QString modelLabel;

void infoMessage(const QString &text);
void warningMessage(const QString &text);
// Yes ends the process at once with exit code 0.
void errorMessage(const QString &text);

// The main window's exit question; true when the user answered Yes.
bool exitQuestion();
