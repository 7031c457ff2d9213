#include "ui/gamedata/directoriesdialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

#include "core/shell/fileio.h"
#include "core/shell/folders.h"
#include "core/shell/shellrules.h"
#include "ui/common/modal.h"
#include "ui/common/prompts.h"
#include "ui/common/settingskey.h"
#include "ui/common/uihelpers.h"

namespace {
QLineEdit *AddEdit(QWidget *parent, const char *name)
{
    // The boxes show the settings; only the locate buttons change them, so typing is not
    // offered.
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QToolButton *AddLocateButton(QWidget *parent, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setAutoRaise(true);
    return button;
}

// The file-name part of path, upper-cased, as the template warnings compare it.
QString UpperFileName(const std::string &path)
{
    return Q(ExtractFileName(path)).toUpper();
}
} // namespace

TDir::TDir(TPrompts &prompts, TGameFolders &game, TFileDialog &openDialog,
           TFileDialog &folderDialog, QWidget *parent)
    : QDialog(parent), OwnPrompts(prompts), Game(game), OpenDialog(openDialog),
      FolderDialog(folderDialog)
{
    setObjectName("Dir");
    setWindowTitle("Set Directories");
    setFixedSize(439, 260);
    setAttribute(Qt::WA_QuitOnClose, false);

    Label1 = new QLabel("Jedi Knight ", this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel("Mots", this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel("Master or Mots template file  (*.tpl)", this);
    Label3->setObjectName("Label3");
    Label4 = new QLabel("Your Resources dir (custom 3do,mat etc)", this);
    Label4->setObjectName("Label4");
    E1 = AddEdit(this, "E1");
    E2 = AddEdit(this, "E2");
    E3 = AddEdit(this, "E3");
    E4 = AddEdit(this, "E4");
    SBJK = AddLocateButton(this, "SBJK");
    SBMots = AddLocateButton(this, "SBMots");
    SBTPL = AddLocateButton(this, "SBTPL");
    SBProj = AddLocateButton(this, "SBProj");

    RG1 = new QGroupBox("Resources to use", this);
    RG1->setObjectName("RG1");
    UseJK1 = new QRadioButton("Use JK ", RG1);
    UseJK1->setObjectName("UseJK1");
    UseMots1 = new QRadioButton("Use Mots", RG1);
    UseMots1->setObjectName("UseMots1");
    UseJK1->setChecked(true);
    auto *columns = new QHBoxLayout(RG1);
    columns->addWidget(UseJK1);
    columns->addWidget(UseMots1);

    BBok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "Save", this);
    BBok->setObjectName("BBok");
    BBCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Close", this);
    BBCancel->setObjectName("BBCancel");

    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    int row = 0;
    const std::pair<QLabel *, std::pair<QLineEdit *, QToolButton *>> rows[] = {
        {Label1, {E1, SBJK}},
        {Label2, {E2, SBMots}},
        {Label3, {E3, SBTPL}},
        {Label4, {E4, SBProj}}};
    for (const auto &[label, line] : rows)
    {
        grid->addWidget(label, row++, 0, 1, 2);
        grid->addWidget(line.first, row, 0);
        grid->addWidget(line.second, row++, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(RG1, 1);
    buttons->addWidget(BBok);
    buttons->addWidget(BBCancel);
    grid->addLayout(buttons, row, 0, 1, 2);

    connect(SBJK, &QToolButton::clicked, this, [this] { SBJKClick(); });
    connect(SBMots, &QToolButton::clicked, this, [this] { SBMotsClick(); });
    connect(SBTPL, &QToolButton::clicked, this, [this] { SBTPLClick(); });
    connect(SBProj, &QToolButton::clicked, this, [this] { SBProjClick(); });
    // The group reacts to a change of choice only: clicking the item already chosen does
    // nothing, and neither does the item losing its check.
    for (QRadioButton *item : {UseJK1, UseMots1})
        connect(item, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RG1Click();
        });
    connect(BBok, &QPushButton::clicked, this, [this] { BBokClick(); });
    connect(BBCancel, &QPushButton::clicked, this, [this] { BBCancelClick(); });
}

int TDir::RG1Index() const
{
    return UseMots1->isChecked() ? 1 : 0;
}

void TDir::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        CentreOnScreen(this);
    FormShow();
}

void TDir::FormShow()
{
    ShowSettings();
    // The group shows the game chosen, kept from earlier runs; showing it chooses nothing.
    const QSignalBlocker quietJk(UseJK1);
    const QSignalBlocker quietMots(UseMots1);
    (Game.UseJK ? UseJK1 : UseMots1)->setChecked(true);
}

void TDir::ShowSettings()
{
    E1->setText(Q(Game.JKDir));
    E2->setText(Q(Game.MotsDir));
    E3->setText(Q(Game.TemplateFile));
    E4->setText(Q(Game.ProjectDir));
}

void TDir::Locate(TFileDialog &dialog, const QString &fileName, const QString &title,
                  int filterIndex, std::string &setting, TKeep keep, QLineEdit *shown)
{
    dialog.FileName = fileName;
    dialog.Title = title;
    dialog.FilterIndex = filterIndex;
    if (OwnPrompts.ChooseOpenFile(dialog))
    {
        const std::string path = dialog.FileName.toStdString();
        setting = keep == TKeep::Folder ? ExtractFilePath(path) : path;
    }
    shown->setText(Q(setting));
}

void TDir::SBJKClick()
{
    Locate(OpenDialog, "res2.gob", "Locate res2.gob file", 2, Game.JKDir, TKeep::Folder, E1);
}

void TDir::SBMotsClick()
{
    Locate(OpenDialog, "jkmres.goo", "Locate jkmres.goo file", 2, Game.MotsDir, TKeep::Folder, E2);
}

void TDir::SBTPLClick()
{
    Locate(OpenDialog, "Master.tpl", "Locate a template file to use", 3, Game.TemplateFile,
           TKeep::WholePath, E3);
}

void TDir::SBProjClick()
{
    Locate(FolderDialog, "any file", "Pick any file", 2, Game.ProjectDir, TKeep::Folder, E4);
}

void TDir::RG1Click()
{
    if (RG1Index() == 0)
    {
        Game.UseJK = true;
        if (UpperFileName(Game.TemplateFile) != "MASTER.TPL")
            OwnPrompts.ShowMessage("Warning: Template Path is not set to a JediKnight Template");
    }
    else
    {
        Game.UseJK = false;
        if (UpperFileName(Game.TemplateFile) != "MOTS.TPL")
            OwnPrompts.ShowMessage("Warning: Template Path is not set to a MOTS Template");
    }
    emit FoldersChanged();
}

void TDir::BBokClick()
{
    SaveSettings(OwnPrompts, Game);
    emit FoldersChanged();
}

void TDir::BBCancelClick()
{
    close();
}
