#include "ui/linebuilder/linebuilderwindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/gamedata/templates.h"
#include "core/linebuilder/refdata.h"
#include "core/shell/textutils.h"
#include "ui/common/fonts.h"
#include "ui/common/prompts.h"
#include "ui/common/scripttext.h"
#include "ui/common/treedropedit.h"
#include "ui/gamedata/resourcepicker.h"

TVF::TVF(const QString &dataDir, TPrompts &prompts, const TGameFolders &game, QWidget *parent)
    : QMainWindow(parent, Qt::Window), OwnPrompts(prompts), DataDir(dataDir), Game(game)
{
    setObjectName("VF");
    setWindowTitle("VF");
    resize(609, 404);
    move(119, 132);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(SansFont(11));
    LastChosenFont = SansFont(11);

    auto *panes = new QSplitter(Qt::Horizontal, this);
    panes->setHandleWidth(10);

    auto *left = new QWidget(panes);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    TV = new QTreeWidget(left);
    TV->setObjectName("TV");
    TV->setHeaderHidden(true);
    TV->setIndentation(19);
    TV->setDragEnabled(true);
    TV->setDragDropMode(QAbstractItemView::DragOnly);
    leftLayout->addWidget(TV, 1);
    CreateFlagPanel(left, leftLayout);

    auto *right = new QWidget(panes);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    P2 = new QToolBar(right);
    P2->setObjectName("P2");
    P3 = new QToolBar(right);
    P3->setObjectName("P3");
    rightLayout->addWidget(P2);
    rightLayout->addWidget(P3);

    auto *upperLower = new QSplitter(Qt::Vertical, right);
    upperLower->setHandleWidth(10);
    RE1 = new TTreeDropEdit(upperLower);
    RE1->setObjectName("RE1");
    RE1->DragOver = [this](const QObject *source) { return RE1DragOver(source); };
    RE1->DragDrop = [this](QObject *source) { RE1DragDrop(source); };
    RE1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setTabChangesFocus(false);
    RE1->viewport()->installEventFilter(this);
    LowerArea = new QSplitter(Qt::Horizontal, upperLower);
    RE2 = new QPlainTextEdit(LowerArea);
    RE2->setObjectName("RE2");
    RE2->setReadOnly(true);
    RE2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LB1 = new QListWidget(LowerArea);
    LB1->setObjectName("LB1");
    LB1->setSortingEnabled(true);
    LB1->hide();
    LowerArea->setSizes({56, 345});
    upperLower->setSizes({211, 139});
    rightLayout->addWidget(upperLower, 1);
    panes->setSizes({190, 401});
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 0);

    auto *central = new QWidget(this);
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(panes, 1);
    P1 = new QWidget(central);
    P1->setObjectName("P1");
    P1->setFixedHeight(20);
    auto *status = new QHBoxLayout(P1);
    status->setContentsMargins(2, 0, 2, 0);
    OnTopLabel = new QLabel("Normal", P1);
    OnTopLabel->setObjectName("OnTopLabel");
    OnTopLabel->setStyleSheet("color: red");
    OnTopLabel->setFixedWidth(100);
    ProjectLabel = new QLabel("Project Directory", P1);
    ProjectLabel->setObjectName("ProjectLabel");
    ProjectLabel->setStyleSheet("color: yellow; background: gray");
    ProjectLabel->setFixedWidth(100);
    ProjectLabel->hide();
    P1Caption = new QLabel(P1);
    P1Caption->setObjectName("P1Caption");
    status->addWidget(OnTopLabel);
    status->addWidget(ProjectLabel);
    status->addWidget(P1Caption, 1);
    centralLayout->addWidget(P1);
    setCentralWidget(central);

    CreateToolbars();
    CreateMenus();

    connect(TV, &QTreeWidget::itemClicked, this, [this] { TVClick(); });
    connect(TV, &QTreeWidget::currentItemChanged, this, [this] { TVChange(); });
    connect(TV, &QTreeWidget::itemDoubleClicked, this, [this] { TVDblClick(); });
    connect(LB1, &QListWidget::itemClicked, this, [this] { LB1Click(); });
    connect(LB1, &QListWidget::itemDoubleClicked, this, [this] { LB1DblClick(); });
    connect(RE1, &QPlainTextEdit::selectionChanged, this, [this] { RE1SelectionChange(); });
    // The hints of the menu bar's own items.
    connect(menuBar(), &QMenuBar::hovered, this,
            [this](QAction *action) { action->showStatusText(this); });
    menuBar()->installEventFilter(this);

    FormCreate();
}

QAction *TVF::AddSnippetButton(QToolBar *bar, const QString &name, const QString &caption,
                               void (TVF::*handler)())
{
    QAction *action = bar->addAction(caption);
    action->setObjectName(name);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void TVF::CreateToolbars()
{
    AddSnippetButton(P2, "SBClear", "Clear", &TVF::SBClearClick);
    AddSnippetButton(P2, "SBIF1", "if( )", &TVF::SBIF1Click);
    AddSnippetButton(P2, "SBIF2", "if( ) else", &TVF::SBIF2Click);
    AddSnippetButton(P2, "SBIf3", "if( ) { }", &TVF::SBIf3Click);
    AddSnippetButton(P2, "SBIf4", "If( ){ }else{ }", &TVF::SBIf4Click);
    AddSnippetButton(P2, "SBFor1", "for ( ; ; )", &TVF::SBFor1Click);
    AddSnippetButton(P2, "SBFor2", "for ( ; ; ) { }", &TVF::SBFor2Click);
    AddSnippetButton(P3, "SBClear2", "Clear", &TVF::SBClearClick);
    AddSnippetButton(P3, "SBWhile1", "while ( ) ", &TVF::SBWhile1Click);
    AddSnippetButton(P3, "SBwhile2", "while ( ) { }", &TVF::SBwhile2Click);
    AddSnippetButton(P3, "SBCom1", "# ====", &TVF::SBCom1Click);
    AddSnippetButton(P3, "SBCom2", "# .........", &TVF::SBCom2Click);
    AddSnippetButton(P3, "SBOPer", "Operators", &TVF::SBOPerClick);
    // A button without caption and without action completes the second set.
    AddSnippetButton(P3, "SBSpare", QString(), nullptr);
    P3->hide();
}

void TVF::CreateMenus()
{
    QMenuBar *bar = menuBar();
    // "Window" acts at once: it toggles the stay-on-top style.
    Window1 = bar->addAction("Window");
    Window1->setObjectName("Window1");
    Window1->setStatusTip("Toggles the window  StayOnTop setting");
    connect(Window1, &QAction::triggered, this, [this] { OnTopClick(); });

    // "Toolbar" switches the toolbars each time it is opened, and shows its one item.
    Toolbar1 = bar->addMenu("Toolbar");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->menuAction()->setStatusTip("Displays next set of buttons on toolbar");
    connect(Toolbar1, &QMenu::aboutToShow, this, [this] { Toolbar1Click(); });
    HideOperators1 = Toolbar1->addAction("Hide Operators");
    HideOperators1->setObjectName("HideOperators1");
    connect(HideOperators1, &QAction::triggered, this, [this] { HideOperators1Click(); });

    QMenu *resources = bar->addMenu("Resources");
    resources->setObjectName("Resources1");
    UseProjectDirectory1 = resources->addAction("Use Project Directory");
    UseProjectDirectory1->setObjectName("UseProjectDirectory1");
    UseProjectDirectory1->setCheckable(true);
    connect(UseProjectDirectory1, &QAction::triggered, this,
            [this] { UseProjectDirectory1Click(); });

    QMenu *fonts = bar->addMenu("Fonts");
    fonts->setObjectName("Fonts1");
    Editortop1 = fonts->addAction("Editor top");
    Editortop1->setObjectName("Editortop1");
    DisplayBottom1 = fonts->addAction("Display Bottom");
    DisplayBottom1->setObjectName("DisplayBottom1");
    List1 = fonts->addAction("List");
    List1->setObjectName("List1");
    connect(Editortop1, &QAction::triggered, this, [this] { Editortop1Click(); });
    connect(DisplayBottom1, &QAction::triggered, this, [this] { DisplayBottom1Click(); });
    connect(List1, &QAction::triggered, this, [this] { List1Click(); });
}

void TVF::FormCreate()
{
    SuppressLookup = true;
    ProjectDirMode = false;
    OnTopLabel->setText("Normal");
    const TRefData data = LoadRefData(DataDir.toStdString());
    for (const TRefNode &node : data.Nodes)
        AddRefNode(nullptr, node);
    for (const std::string &line : data.Operators)
        LB1->addItem(DecodeScript(line));
    if (!data.Message.empty())
        Ask().ShowMessage(QString::fromStdString(data.Message));
    if (!data.IOError.empty())
        Ask().ShowIOError(QString::fromStdString(data.IOError));
    // After a missing file the lookup stays off until the user clicks the tree.
    SuppressLookup = !data.Complete;
}

void TVF::AddRefNode(QTreeWidgetItem *parent, const TRefNode &node)
{
    const QStringList text{DecodeScript(node.Text)};
    auto *item = parent ? new QTreeWidgetItem(parent, text) : new QTreeWidgetItem(TV, text);
    for (const TRefNode &child : node.Children)
        AddRefNode(item, child);
}

void TVF::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TVF::FormShow()
{
    SuppressLookup = true;
    emit Shown();
}

void TVF::TVClick()
{
    SuppressLookup = false;
}

void TVF::TVChange()
{
    if (SuppressLookup)
        return;
    QTreeWidgetItem *node = TV->currentItem();
    if (!node)
        return;
    LookUp(node->text(0));
}

void TVF::LookUp(const QString &name)
{
    RE2->clear();
    LookedUpName = name;
    P1Caption->setText(name);
    const TRefLookup found = LookupRefEntry(DataDir.toStdString(), EncodeScript(name));
    for (const std::string &line : found.Lines)
        RE2->appendPlainText(DecodeScript(line));
    if (!found.Message.empty())
        Ask().ShowMessage(QString::fromStdString(found.Message));
    if (!found.IOError.empty())
        Ask().ShowIOError(QString::fromStdString(found.IOError));
    if (found.HideOperators)
        LB1->hide();
}

void TVF::TVDblClick()
{
    // The first double-click after showing may come before any lookup: describe the entry
    // under the mouse first, so the line built is the one the user sees.
    if (QTreeWidgetItem *node = TV->currentItem(); node && P1Caption->text() != node->text(0))
    {
        SuppressLookup = false;
        LookUp(node->text(0));
    }
    LB1->hide();
    QTreeWidgetItem *node = TV->currentItem();
    // A declared symbol goes in by its name; it has no entry of its own to describe it.
    const QString flagLine =
        IsSymbolEntry(node) ? node->text(0) : RE2->document()->firstBlock().text();
    // A folder, or an entry the data files do not describe, builds nothing: a blank in place
    // of the selection would only erase the line built so far.
    if (flagLine.isEmpty())
        return;
    // A flag argument opens the calculator, which writes the line once the value is chosen;
    // a line with "Get" in it neither opens it nor inserts anything.
    if (flagLine.contains("flag*"))
    {
        SortFlag(flagLine);
        return;
    }
    HideFlagCalculator();
    ReplaceSelection(" " + flagLine);
}

bool TVF::IsSymbolEntry(const QTreeWidgetItem *node) const
{
    return node && SymbolsUsedNode && node->parent() && node->parent()->parent() == SymbolsUsedNode;
}

QString TVF::SelectBuiltLine()
{
    ++OwnEdits;
    RE1->selectAll();
    --OwnEdits;
    return RE1->toPlainText();
}

void TVF::ReplaceSelection(const QString &text)
{
    ++OwnEdits;
    RE1->insertPlainText(text);
    --OwnEdits;
}

void TVF::SBClearClick()
{
    ++OwnEdits;
    RE1->clear();
    --OwnEdits;
    // A calculator left open would write into the line just cleared; the strip goes back to
    // the entry on display.
    HideFlagCalculator();
    P1Caption->setText(LookedUpName);
}

void TVF::LoopMake(const QString &first, const QStringList &further, int caret)
{
    RE1->setFocus();
    ++OwnEdits;
    QTextCursor cursor = RE1->textCursor();
    const int start = cursor.selectionStart();
    cursor.insertText(first);
    // Further lines go below the last line of the whole text, not after the caret.
    QTextCursor end(RE1->document());
    end.movePosition(QTextCursor::End);
    for (const QString &line : further)
        end.insertText("\n" + line);
    cursor.setPosition(start + caret);
    RE1->setTextCursor(cursor);
    --OwnEdits;
}

void TVF::SBIF1Click()
{
    LoopMake("if (  )", {}, 5);
}

void TVF::SBIF2Click()
{
    LoopMake("if (  )", {" ", "else"}, 5);
}

void TVF::SBIf3Click()
{
    LoopMake("if (  )", {"{", " ", "}"}, 5);
}

void TVF::SBIf4Click()
{
    LoopMake("if (  )", {"{", " ", "}", "else", "{", " ", "}"}, 5);
}

void TVF::SBFor1Click()
{
    LoopMake("for ( ; ; )", {}, 6);
}

void TVF::SBFor2Click()
{
    LoopMake("for ( ; ; )", {"{", " ", "}"}, 6);
}

void TVF::SBWhile1Click()
{
    LoopMake("while (  )", {}, 8);
}

void TVF::SBwhile2Click()
{
    LoopMake("while (  )", {"{", " ", "}"}, 8);
}

void TVF::SBCom1Click()
{
    const QString rule = "# " + QString(88, '=');
    LoopMake(rule, {}, static_cast<int>(rule.size()));
}

void TVF::SBCom2Click()
{
    const QString rule = "# " + QString(88, '.');
    LoopMake(rule, {}, static_cast<int>(rule.size()));
}

void TVF::SBOPerClick()
{
    LB1->show();
}

void TVF::HideOperators1Click()
{
    LB1->hide();
}

void TVF::LB1Click()
{
    const QList<QListWidgetItem *> selected = LB1->selectedItems();
    LB1->setToolTip(selected.isEmpty() ? QString() : selected.first()->text());
}

void TVF::LB1DblClick()
{
    // An empty list (a data file missing) has nothing to insert.
    if (LB1->count() == 0)
        return;
    const QList<QListWidgetItem *> selected = LB1->selectedItems();
    const QListWidgetItem *item = selected.isEmpty() ? LB1->item(0) : selected.first();
    // The first word is the operator; an item that begins with a blank has none.
    ReplaceSelection(" " + QString::fromStdString(LineWords(item->text().toStdString())[0]));
    LB1->hide();
}

void TVF::Toolbar1Click()
{
    // Works whether or not the window is on the screen.
    const bool firstShown = P2->isVisibleTo(this);
    P2->setVisible(!firstShown);
    P3->setVisible(firstShown);
}

void TVF::OnTopClick()
{
    const bool onTop = windowFlags() & Qt::WindowStaysOnTopHint;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, !onTop);
    // Changing a window's flags hides it; it stays on the screen as it was.
    if (wasVisible)
        show();
    OnTopLabel->setText(onTop ? "Normal" : "Stay OnTop");
}

void TVF::UseProjectDirectory1Click()
{
    ProjectDirMode = !ProjectDirMode;
    UseProjectDirectory1->setChecked(ProjectDirMode);
    ProjectLabel->setVisible(ProjectDirMode);
}

void TVF::ChooseFontFor(QWidget *control)
{
    // The dialog starts from the font last chosen in it, not from the control's own.
    QFont font = LastChosenFont;
    if (!Ask().ChooseFont(font))
        return;
    LastChosenFont = font;
    control->setFont(font);
}

void TVF::Editortop1Click()
{
    ChooseFontFor(RE1);
}

void TVF::DisplayBottom1Click()
{
    ChooseFontFor(RE2);
}

void TVF::List1Click()
{
    ChooseFontFor(TV);
}

bool TVF::event(QEvent *event)
{
    if (event->type() != QEvent::StatusTip)
        return QMainWindow::event(event);
    const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
    if (!tip.isEmpty())
    {
        if (!HintShown)
            CaptionBeforeHint = P1Caption->text();
        HintShown = true;
        P1Caption->setText(tip);
    }
    else if (HintShown)
    {
        HintShown = false;
        P1Caption->setText(CaptionBeforeHint);
    }
    return true;
}

bool TVF::eventFilter(QObject *watched, QEvent *event)
{
    // The mouse left the menu bar: its hint goes.
    if (watched == menuBar() && event->type() == QEvent::Leave)
    {
        QStatusTipEvent none{QString()};
        QCoreApplication::sendEvent(this, &none);
    }
    if (watched == RE1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        MouseSelecting = true;
    if (watched == RE1->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        MouseSelecting = false;
    if (watched == RE1->viewport() && event->type() == QEvent::MouseButtonRelease &&
        AnalysisPending)
    {
        AnalysisPending = false;
        // The release usually brings a selection change of its own, which analyses the
        // selection and cancels this run; otherwise this one does, after the release, so the
        // editor has finished its own handling of the mouse.
        AnalysisQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (AnalysisQueued)
                    RE1SelectionChange();
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVF::RE1SelectionChange()
{
    AnalysisQueued = false;
    // The window's own insertions and the Paste's select-all are no choice of the user, and
    // while a picker is open the selection it fills is already chosen.
    if (OwnEdits > 0 || Picking)
        return;
    // A selection being dragged with the mouse is analysed when it is complete.
    if (MouseSelecting)
    {
        AnalysisPending = true;
        return;
    }
    const QTextCursor chosen = RE1->textCursor();
    const QString chosenText = chosen.selectedText();
    QString selected = chosenText;
    if (selected.isEmpty())
        return;
    // UTF-8 keeps every character of the selection; the placeholders are plain ASCII.
    const std::string original = selected.toStdString();
    std::string line;
    {
        Picking = true;
        struct TDone
        {
            bool &Flag;
            ~TDone() { Flag = false; }
        } done{Picking};
        if (selected.contains(
                QLatin1String(TemplatePlaceholder.data(), TemplatePlaceholder.size())))
        {
            const QString name = GetTplNam();
            line = PutTemplateName(original, name.toStdString());
            selected = name;
        }
        else
            line = FillResourcePlaceholders(original, [this](const std::string &ext) {
                return GetResSel(QString::fromStdString(ext)).toStdString();
            });
    }
    // The picked names take the place of the selection the pickers were opened for.
    if (line != original)
    {
        QTextCursor placeholder(RE1->document());
        placeholder.setPosition(chosen.selectionStart());
        placeholder.setPosition(chosen.selectionEnd(), QTextCursor::KeepAnchor);
        if (placeholder.selectedText() == chosenText)
        {
            ++OwnEdits;
            placeholder.insertText(QString::fromStdString(line));
            RE1->setTextCursor(placeholder);
            --OwnEdits;
        }
    }

    JumpToSymbols(selected);
}

bool TVF::RE1DragOver(const QObject *source) const
{
    return TTreeDropEdit::IsTree(source);
}

void TVF::RE1DragDrop(QObject *source)
{
    const QString text = TTreeDropEdit::SelectedItemText(source);
    if (!text.isEmpty())
        ReplaceSelection(text);
}

QString TVF::GetResSel(const QString &ext)
{
    if (!Picker)
        return QString();
    if (ProjectDirMode)
        Picker->UseDialog();
    else
    {
        Picker->GetRes(ext, true);
        // However the picker was left, only OK is a choice.
        if (Picker->ShowPicker() != QDialog::Accepted)
            return QString();
    }
    return Picker->ED->text();
}

QString TVF::GetTplNam()
{
    return DisplayAll() ? Picker->ED->text() : QString();
}

bool TVF::DisplayAll()
{
    if (!Picker)
        return false;
    // Without its file the picker lists the table it holds from before.
    TResult<TTemplateFile> file = LoadTemplateFile(Game.TemplateFile);
    if (!file)
        Ask().ShowIOError(QString::fromStdString(file.Error()));
    else if (file->Found)
        Picker->TakeTemplates(std::move(file->Table));
    else
        Ask().ShowMessage(NoTemplateFileMessage);
    Picker->ListTemplates();
    return Picker->ShowPicker() == QDialog::Accepted;
}

void TVF::ShowSymbolsUsed(const TSymbolTree &tree)
{
    const QString caption = "Symbols Used";
    // A fresh tree holds an empty branch of that caption that no scan has recorded yet.
    if (!SymbolsUsedNode || TV->indexOfTopLevelItem(SymbolsUsedNode) < 0)
    {
        const QList<QTreeWidgetItem *> found = TV->findItems(caption, Qt::MatchExactly);
        SymbolsUsedNode = found.isEmpty() ? nullptr : found.first();
    }
    delete SymbolsUsedNode;
    TypeNodes.fill(nullptr);
    SymbolsUsedNode = new QTreeWidgetItem(QStringList(caption));
    TV->insertTopLevelItem(0, SymbolsUsedNode);
    for (const TSymbolTypeNode &kind : tree)
    {
        auto *node = new QTreeWidgetItem(
            SymbolsUsedNode, QStringList(SymbolTypes[static_cast<size_t>(kind.Type)].Caption));
        for (const std::string &name : kind.Names)
            new QTreeWidgetItem(node, QStringList(DecodeScript(name)));
        TypeNodes[static_cast<size_t>(kind.Type)] = node;
    }
}

QTreeWidgetItem *TVF::TypeNode(const QString &caption) const
{
    for (int k = 0; k < SymbolTypeCount; ++k)
        if (caption == SymbolTypes[static_cast<size_t>(k)].Caption)
            return TypeNodes[static_cast<size_t>(k)];
    return nullptr;
}

void TVF::JumpToSymbols(const QString &selected)
{
    for (const int type : SymbolJumps(EncodeScript(selected)))
        if (QTreeWidgetItem *node = TypeNodes[static_cast<size_t>(type)])
            ShowNode(node);
}

void TVF::ShowNode(QTreeWidgetItem *node)
{
    SuppressLookup = true;
    TV->collapseAll();
    for (QTreeWidgetItem *parent = node->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    TV->setCurrentItem(node);
    TV->scrollToItem(node, QAbstractItemView::PositionAtTop);
    // The selection stays visible when the tree loses the focus.
    QPalette colours = TV->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    TV->setPalette(colours);
    TV->setFocus();
    SuppressLookup = false;
}
