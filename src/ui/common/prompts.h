#pragma once

// Every question the program asks the user goes through TPrompts: message boxes and the
// file, font and print dialogs. The application installs TQtPrompts; tests install a scripted
// stand-in that answers from a queue, so no test ever waits on a modal window.

#include <QFont>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

enum class TAnswer
{
    Yes,
    No,
    Cancel
};

// The answers to a question asked once per file of a run (extraction over existing files).
enum class TReplaceAnswer
{
    Yes,
    No,
    YesToAll,
    Cancel
};

// The state of a file dialog that its users set before showing it and read afterwards: the
// frame's shared open dialog keeps its title, file name and filter between uses.
struct TFileDialog
{
    QString Title;
    // "Jedi Knight Cog File|*.cog|Jedi Knight Gob/Goo File|*.gob;*.goo": description and
    // patterns in pairs.
    QString Filter;
    // 1-based index of the filter item shown first.
    int FilterIndex = 1;
    QString InitialDir;
    // The suggested name before showing; the chosen path after OK.
    QString FileName;
    // Extension added to a typed name without one (save dialogs), without its dot.
    QString DefaultExt;
    // The caption of the accept button; empty: the dialog's own ("Open", "Save").
    QString AcceptLabel;
    // Save dialogs: ask before replacing an existing file.
    bool ConfirmOverwrite = true;
};

class TPrompts
{
  public:
    virtual ~TPrompts() = default;

    // Information box captioned "quillex" with OK.
    virtual void ShowMessage(const QString &text) = 0;
    // Confirmation box captioned "Confirm" with Yes and No.
    virtual bool Confirm(const QString &text) = 0;
    // Confirmation box captioned "Confirm" with Yes, No and Cancel.
    virtual TAnswer AskYesNoCancel(const QString &text) = 0;
    // Confirmation box captioned "Confirm" with Yes, No, Yes to All and Cancel.
    virtual TReplaceAnswer AskReplace(const QString &text) = 0;
    // Error box with a single Abort button.
    virtual void AbortError(const QString &text) = 0;
    // The application-wide report of a failure the program did not handle itself, such as an
    // I/O error ("File not found", "Read beyond end of file").
    virtual void ShowIOError(const QString &text) = 0;

    // File dialogs: true when the user chose a file; the path is then in dialog.FileName.
    virtual bool ChooseOpenFile(TFileDialog &dialog) = 0;
    virtual bool ChooseSaveFile(TFileDialog &dialog) = 0;
    // Font dialog preset with font; true and the choice in font on OK.
    virtual bool ChooseFont(QFont &font) = 0;
    // Print dialog for printer; true when printing was confirmed.
    virtual bool ChoosePrinter(QPrinter &printer) = 0;
    // Printer setup dialog for printer; its choices are kept in printer.
    virtual bool SetupPrinter(QPrinter &printer) = 0;
};
