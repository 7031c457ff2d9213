#pragma once

#include <QDialog>

#include "ui/shell/prompts.h"

class QLineEdit;
class QListWidget;

// The Resource Picker: lets the user choose a game resource by name from the archives of
// the game folders, and hands the chosen name back through ED.
class TRes : public QDialog
{
    Q_OBJECT

  public:
    explicit TRes(QWidget *parent = nullptr);

    // The picker's own open dialog, also used by the Directories dialog to locate the
    // project folder.
    TFileDialog OD1;
    static constexpr const char *OD1Filter =
        "Jedi Knight Files|*.ai;*.cog;*.pup;*.key;*.snd;*.3do;*.mat;*.per|All Files|*.*";

    QListWidget *LB1;
    QListWidget *LB2;
    // The chosen resource; empty when nothing was chosen.
    QLineEdit *ED;
};
