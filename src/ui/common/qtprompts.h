#pragma once

#include "ui/common/prompts.h"

// The prompts as Qt's message boxes and dialogs. The only place that includes QMessageBox
// and QFileDialog.
class TQtPrompts : public TPrompts
{
  public:
    explicit TQtPrompts(QWidget *parent = nullptr) : Parent(parent) {}
    void SetParent(QWidget *parent) { Parent = parent; }

    void ShowMessage(const QString &text) override;
    bool Confirm(const QString &text) override;
    TAnswer AskYesNoCancel(const QString &text) override;
    TReplaceAnswer AskReplace(const QString &text) override;
    void AbortError(const QString &text) override;
    void ShowIOError(const QString &text) override;
    bool ChooseOpenFile(TFileDialog &dialog) override;
    bool ChooseSaveFile(TFileDialog &dialog) override;
    bool ChooseFont(QFont &font) override;
    bool ChoosePrinter(QPrinter &printer) override;
    bool SetupPrinter(QPrinter &printer) override;

  private:
    QWidget *Parent;
};

// "Jedi Knight Cog File|*.cog|Template file|*.tpl" as Qt name filters:
// "Jedi Knight Cog File (*.cog)", "Template file (*.tpl)".
QStringList QtNameFilters(const QString &filter);
