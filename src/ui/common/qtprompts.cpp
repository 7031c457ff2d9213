#include "ui/common/qtprompts.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {
// Where QX_PROMPTS_TRANSCRIPT names a file, every message box's caption and text is added to
// it as one line before the box shows: a check of a real start reads what the user was told.
void AddToTranscript(const QString &caption, const QString &text)
{
    static const QString path = qEnvironmentVariable("QX_PROMPTS_TRANSCRIPT");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((caption + "\t" + QString(text).replace('\n', ' ') + "\n").toUtf8());
}

QMessageBox::StandardButton Ask(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                                const QString &text, QMessageBox::StandardButtons buttons)
{
    AddToTranscript(caption, text);
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void Prepare(QFileDialog &dialog, const TFileDialog &state)
{
    dialog.setWindowTitle(state.Title);
    const QStringList filters = QtNameFilters(state.Filter);
    if (!filters.isEmpty())
    {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(state.FilterIndex - 1, filters.first()));
    }
    if (!state.InitialDir.isEmpty())
        dialog.setDirectory(state.InitialDir);
    if (!state.FileName.isEmpty())
        dialog.selectFile(state.FileName);
    if (!state.AcceptLabel.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, state.AcceptLabel);
}
} // namespace

void TQtPrompts::ShowMessage(const QString &text)
{
    Ask(Parent, QMessageBox::Information, "quillex", text, QMessageBox::Ok);
}

bool TQtPrompts::Confirm(const QString &text)
{
    return Ask(Parent, QMessageBox::Question, "Confirm", text,
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

TAnswer TQtPrompts::AskYesNoCancel(const QString &text)
{
    switch (Ask(Parent, QMessageBox::Question, "Confirm", text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel))
    {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return TAnswer::Cancel;
    }
}

TReplaceAnswer TQtPrompts::AskReplace(const QString &text)
{
    switch (Ask(Parent, QMessageBox::Question, "Confirm", text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::Cancel))
    {
    case QMessageBox::Yes:
        return TReplaceAnswer::Yes;
    case QMessageBox::No:
        return TReplaceAnswer::No;
    case QMessageBox::YesToAll:
        return TReplaceAnswer::YesToAll;
    default:
        return TReplaceAnswer::Cancel;
    }
}

void TQtPrompts::AbortError(const QString &text)
{
    Ask(Parent, QMessageBox::Critical, "Error", text, QMessageBox::Abort);
}

void TQtPrompts::ShowIOError(const QString &text)
{
    Ask(Parent, QMessageBox::Critical, "quillex", text, QMessageBox::Ok);
}

bool TQtPrompts::ChooseOpenFile(TFileDialog &state)
{
    QFileDialog dialog(Parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, state);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.FileName = dialog.selectedFiles().first();
    state.FilterIndex = QtNameFilters(state.Filter).indexOf(dialog.selectedNameFilter()) + 1;
    return true;
}

bool TQtPrompts::ChooseSaveFile(TFileDialog &state)
{
    QFileDialog dialog(Parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(state.DefaultExt);
    if (!state.ConfirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    Prepare(dialog, state);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.FileName = dialog.selectedFiles().first();
    return true;
}

bool TQtPrompts::ChooseFont(QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, Parent);
    if (ok)
        font = chosen;
    return ok;
}

bool TQtPrompts::ChoosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, Parent);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtPrompts::SetupPrinter(QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, Parent);
    return dialog.exec() == QDialog::Accepted;
}
