#include "ui/analysis/checkerwindow.h"

#include <algorithm>
#include <string>

#include <QActionGroup>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

#include "core/analysis/cogchecker.h"
#include "core/shell/textutils.h"
#include "ui/common/fonts.h"
#include "ui/common/modal.h"
#include "ui/common/pictures.h"
#include "ui/common/scripttext.h"
#include "ui/common/settingskey.h"
#include "ui/common/uihelpers.h"

TSC::TSC(TPrompts &prompts, QWidget *parent) : QDialog(parent), OwnPrompts(prompts)
{
    setObjectName("SC");
    setWindowTitle("Syntax Checker");
    setFixedSize(413, 221);
    setFont(SansFont(11));
    setModal(false);
    setAttribute(Qt::WA_QuitOnClose, false);

    Errors = new QListWidget(this);
    Errors->setObjectName("Errors");
    Errors->setGeometry(0, 0, 313, 221);
    Errors->setSelectionMode(QAbstractItemView::SingleSelection);
    Errors->setUniformItemSizes(true);
    Errors->setItemDelegate(new TFixedHeightDelegate(ItemHeight, Errors));
    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setGeometry(313, 0, 100, 221);
    // The standard "Yes" picture of the style is no tick everywhere; the program's own is.
    BBRefresh = new QPushButton(ButtonIcon("check"), "Refresh", Panel1);
    BBRefresh->setObjectName("BBRefresh");
    BBRefresh->setGeometry(16, 152, 75, 25);
    BBRefresh->setAutoDefault(false);
    BBCancel =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", Panel1);
    BBCancel->setObjectName("BBCancel");
    BBCancel->setGeometry(16, 184, 75, 25);
    BBCancel->setAutoDefault(false);

    // In the middle of the screen rather than over the frame, wherever the frame stands.
    CentreOnScreen(this);

    // Every change of the selection shows its line, by mouse or by the arrow keys; a click on
    // the entry already selected changes nothing and shows the line again by itself.
    Errors->viewport()->installEventFilter(this);
    connect(Errors, &QListWidget::itemSelectionChanged, this, [this] { ErrorsClick(); });
    connect(Errors, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (Errors->row(item) == SelectedBeforePress)
            ErrorsClick();
    });
    connect(BBRefresh, &QPushButton::clicked, this, [this] { BBRefreshClick(); });
    connect(BBCancel, &QPushButton::clicked, this, [this] { BBCancelClick(); });
}

void TSC::ShowErrors(const TCOGErrors &errors, const TCOGErrors &warnings)
{
    // Filling the list is no choice of the user's: nothing is shown for it.
    const QSignalBlocker quiet(Errors);
    Errors->clear();
    for (int i = 0; i < errors.Count(); ++i)
    {
        auto *item = new QListWidgetItem(DecodeScript(errors.Items(i).Msg), Errors);
        item->setData(LineRole, errors.Items(i).Line);
    }
    for (int i = 0; i < warnings.Count(); ++i)
    {
        auto *item = new QListWidgetItem("warning: " + DecodeScript(warnings.Items(i).Msg), Errors);
        item->setData(LineRole, warnings.Items(i).Line);
        item->setForeground(WarningColour);
    }
}

void TSC::ShowCheckOf(std::string_view text)
{
    CheckText(text);
    ShowErrors(Checker.Errors, GameChecker.Warnings);
}

int TSC::SelectedLine() const
{
    const int index = SelectedIndex();
    const QVariant line = index < 0 ? QVariant() : Errors->item(index)->data(LineRole);
    return line.isValid() ? line.toInt() : -1;
}

void TSC::ShowScriptClosed()
{
    const QSignalBlocker quiet(Errors);
    Errors->clear();
    auto *item = new QListWidgetItem(ScriptClosedText);
    item->setFlags(Qt::NoItemFlags);
    Errors->addItem(item);
}

void TSC::CheckText(std::string_view text)
{
    GameChecker.CheckText(Checker, text);
}

void TSC::AddOptionItems(QMenu *menu)
{
    auto key = OpenSettingsKey();
    const TGameCheckSettings settings = ReadGameCheckSettings(*key);
    CloseSettingsKey(key, OwnPrompts);
    GameChecker.Enabled = settings.Enabled;
    GameChecker.Game = settings.Game;

    menu->addSeparator();
    GameChecks1 = menu->addAction("Game-aware checks");
    GameChecks1->setObjectName("GameChecks1");
    GameChecks1->setCheckable(true);
    GameChecks1->setChecked(GameChecker.Enabled);
    connect(GameChecks1, &QAction::toggled, this, [this](bool on) {
        GameChecker.Enabled = on;
        SaveGameCheckSettings();
    });
    QMenu *games = menu->addMenu("Checked game");
    games->setObjectName("CheckedGame1");
    auto *group = new QActionGroup(games);
    const struct
    {
        QAction *&Item;
        const char *Name;
        const char *Text;
        TCheckGame Game;
    } choices[] = {{EitherGame1, "EitherGame1", "Either game", TCheckGame::Either},
                   {JediKnight1, "JediKnight1", "Jedi Knight", TCheckGame::JK},
                   {Mots1, "Mots1", "MOTS", TCheckGame::Mots}};
    for (const auto &choice : choices)
    {
        choice.Item = games->addAction(choice.Text);
        choice.Item->setObjectName(choice.Name);
        choice.Item->setCheckable(true);
        choice.Item->setChecked(choice.Game == GameChecker.Game);
        group->addAction(choice.Item);
        connect(choice.Item, &QAction::triggered, this, [this, game = choice.Game] {
            GameChecker.Game = game;
            SaveGameCheckSettings();
        });
    }
}

void TSC::SaveGameCheckSettings()
{
    auto key = OpenSettingsKey();
    WriteGameCheckSettings(*key, {GameChecker.Enabled, GameChecker.Game});
    CloseSettingsKey(key, OwnPrompts);
    emit CheckOptionsChanged();
}

TAnalysisOptions TSC::AnalysisOptions() const
{
    TAnalysisOptions options;
    options.GameChecks = GameChecker.Enabled;
    options.Game = GameChecker.Game;
    options.Verbs = GameChecker.Verbs;
    return options;
}

int TSC::SelectedIndex() const
{
    const QListWidgetItem *item = Errors->currentItem();
    return item && item->isSelected() ? Errors->row(item) : -1;
}

bool TSC::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Errors->viewport() && event->type() == QEvent::MouseButtonPress)
        SelectedBeforePress = SelectedIndex();
    return QDialog::eventFilter(watched, event);
}

void TSC::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window restored by the window system was not shown by a check.
    if (!event->spontaneous())
        FormShow();
}

void TSC::FormShow()
{
    emit Shown();
}

void TSC::ErrorsClick()
{
    const int line = SelectedLine();
    if (line >= 0)
        emit ErrorChosen(line);
}

void TSC::BBRefreshClick()
{
    emit RefreshAsked();
}

void TSC::BBCancelClick()
{
    hide();
}
