#include "ui/editor/scripteditor.h"

#include <string_view>

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QSaveFile>
#include <QShowEvent>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/analysis/symtools.h"
#include "core/shell/fileio.h"
#include "core/shell/shellrules.h"
#include "core/shell/textutils.h"
#include "ui/common/fonts.h"
#include "ui/common/pictures.h"
#include "ui/common/prompts.h"
#include "ui/common/scripttext.h"
#include "ui/common/uihelpers.h"
#include "ui/editor/codeassist.h"
#include "ui/editor/livecheck.h"

namespace {
// Where line index of a document begins and how many characters it holds, counted the way
// the checker is given the lines: a paragraph break and a soft line break (Shift+Enter) both
// end a line, and a break at the very end of the text starts no further line. False when
// the document has no such line.
bool FindLine(const QTextDocument *doc, int index, int &start, int &length)
{
    if (index < 0)
        return false;
    int line = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
    {
        const QString text = block.text();
        if (text.isEmpty() && block == doc->lastBlock() && block != doc->firstBlock())
            return false;
        qsizetype from = 0;
        for (;;)
        {
            const qsizetype to = text.indexOf(QChar::LineSeparator, from);
            const qsizetype end = to < 0 ? text.size() : to;
            if (line == index)
            {
                start = block.position() + static_cast<int>(from);
                length = static_cast<int>(end - from);
                return true;
            }
            ++line;
            if (to < 0)
                break;
            from = to + 1;
        }
    }
    return false;
}

// The text of a block as the script's bytes. Every way text comes in makes a line break a
// block break, so a block is one line of the file.
std::string BlockBytes(const QTextBlock &block)
{
    return EncodeScript(block.text());
}

QToolButton *AddToolButton(QToolBar *bar, const char *name, const QString &caption,
                           const QString &hint, const QString &icon)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(ButtonIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    // 85 pixels, or what the caption needs in a wider fallback font.
    button->setMinimumWidth(85);
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    return button;
}

bool IsEditMenuKey(const QKeyEvent *event)
{
    // Ctrl+B, Ctrl+D and Ctrl+U belong to the Edit menu; the text control would take some of
    // them for its own line-editing keys.
    if (event->modifiers() != Qt::ControlModifier)
        return false;
    return event->key() == Qt::Key_B || event->key() == Qt::Key_D || event->key() == Qt::Key_U;
}
} // namespace

TCogEdit::TCogEdit(TRTFForm *owner, QWidget *parent) : TTreeDropEdit(parent)
{
    setObjectName("RE");
    DragOver = [owner](const QObject *source) { return owner->REDragOver(source); };
    DragDrop = [owner](QObject *source) { owner->REDragDrop(source); };
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    setFont(FixedFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

bool TCogEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && IsEditMenuKey(static_cast<QKeyEvent *>(event)))
    {
        event->ignore();
        return true;
    }
    return TTreeDropEdit::event(event);
}

void TCogEdit::keyPressEvent(QKeyEvent *event)
{
    if (KeyTaken && KeyTaken(event))
        return;
    if (event->matches(QKeySequence::InsertLineSeparator))
    {
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
    }
    else
        QPlainTextEdit::keyPressEvent(event);
    if (KeyDone)
        KeyDone(event);
}

void TCogEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
    {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(WithEditorLineBreaks(source->text()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

TRTFForm::TRTFForm(TPrompts &prompts, const std::string &cogDir, QWidget *parent)
    : TMDIChild(parent), OwnPrompts(prompts), CogDir(cogDir)
{
    setObjectName("RTFForm");
    setWindowTitle("Quillex");
    setWindowIcon(ProgramIcon());
    resize(653, 301);

    auto *body = new QWidget;
    body->setObjectName("Body");
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = new QToolBar(body);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setFixedHeight(27);
    ToolBar1->setIconSize(QSize(16, 16));
    TabB = AddToolButton(ToolBar1, "TabB", "Tabs",
                         "Changes Tab setting for code or symbols section", "tabs");
    TabB->setCheckable(true);
    SBShowLB = AddToolButton(ToolBar1, "SBShowLB", "LineBuilder", "SHows Line Builder window",
                             "linebuilder");
    SBShowLB->setCheckable(true);
    PasteB = AddToolButton(ToolBar1, "PasteB", "Paste",
                           "Position cursor before pasting from Line builder", "paste");
    SBConCheck =
        AddToolButton(ToolBar1, "SBConCheck", "Check Cog", "Checks cog for errors", "check");
    SBSort = AddToolButton(ToolBar1, "SBSort", "Sort Symbol", QString(), "sort");

    RE = new TCogEdit(this, body);
    StatusBar1 = new QStatusBar(body);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel);

    layout->addWidget(ToolBar1);
    layout->addWidget(RE, 1);
    layout->addWidget(StatusBar1);
    setWidget(body);

    Edit1 = new QMenu("&Edit", this);
    Edit1->setObjectName("Edit1");
    Cut1 = AddItem(Edit1, "Cut1", "Cu&t", QKeySequence("Ctrl+X"));
    Copy1 = AddItem(Edit1, "Copy1", "&Copy", QKeySequence("Ctrl+C"));
    Paste1 = AddItem(Edit1, "Paste1", "&Paste", QKeySequence("Ctrl+B"));
    Delete1 = AddItem(Edit1, "Delete1", "&Delete", QKeySequence("Ctrl+D"));
    Undo1 = AddItem(Edit1, "Undo1", "&Undo", QKeySequence("Ctrl+U"));
    Edit1->addSeparator();
    SelectAll1 = AddItem(Edit1, "SelectAll1", "Select &All", QKeySequence("Ctrl+A"));
    Character1 = new QMenu("&Character", this);
    Character1->setObjectName("Character1");
    Font1 = AddItem(Character1, "Font1", "&Font", QKeySequence());

    connect(Cut1, &QAction::triggered, this, [this] { Cut1Click(); });
    connect(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(Paste1, &QAction::triggered, this, [this] { Paste1Click(); });
    connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(Undo1, &QAction::triggered, this, [this] { Undo1Click(); });
    connect(SelectAll1, &QAction::triggered, this, [this] { SelectAll1Click(); });
    connect(Font1, &QAction::triggered, this, [this] { Font1Click(); });
    connect(TabB, &QToolButton::clicked, this, [this] { TabBClick(); });
    connect(SBShowLB, &QToolButton::clicked, this, [this] { SBShowLBClick(); });
    connect(PasteB, &QToolButton::clicked, this, [this] { PasteBClick(); });
    connect(SBConCheck, &QToolButton::clicked, this, [this] { SBConCheckClick(); });
    connect(SBSort, &QToolButton::clicked, this, [this] { FormatCogClick(); });

    SetTabLayout(SymbolTabStops(), "Symbols");
    RE->setFocus();
    Tools = new TEditorTools(this);
    FindingPanel = new QLabel(StatusBar1);
    FindingPanel->setObjectName("FindingPanel");
    StatusBar1->addWidget(FindingPanel);
    LiveCheck = new TLiveCheck(RE, FindingPanel);
    connect(LiveCheck, &TLiveCheck::UnderlinesChanged, this, [this] { ShowMarks(); });
    Assist = new TCodeAssist(this, LiveCheck);
}

TRTFForm::~TRTFForm() = default;

QList<QMenu *> TRTFForm::MergedMenus() const
{
    return {File1, Edit1, Character1};
}

QList<int> TRTFForm::SymbolTabStops()
{
    return {3, 13, 46};
}

QList<int> TRTFForm::CodeTabStops()
{
    QList<int> stops;
    for (int point = 3; point <= 63; point += 3)
        stops << point;
    return stops;
}

QList<int> TRTFForm::TabStops() const
{
    return CurrentTabStops;
}

QString TRTFForm::StatusText() const
{
    return StatusPanel->text();
}

void TRTFForm::SetTabLayout(const QList<int> &points, const QString &status)
{
    // The layouts count in characters of the editor's fixed-pitch font: a tab reaches the
    // column Sort Symbol writes a symbol's name or value at, or a 3-character indent. Taken
    // as points, as the numbers once were, a stop lay a few pixels from the last, and every
    // script indented with tabs showed unindented. The display only: files keep their tabs.
    const qreal charWidth = QFontMetricsF(RE->font()).horizontalAdvance(QLatin1Char(' '));
    QList<QTextOption::Tab> tabs;
    for (const int column : points)
        tabs << QTextOption::Tab(column * charWidth, QTextOption::LeftTab);
    QTextOption option = RE->document()->defaultTextOption();
    option.setTabs(tabs);
    RE->document()->setDefaultTextOption(option);
    CurrentTabStops = points;
    StatusPanel->setText(status);
}

void TRTFForm::TabBClick()
{
    RE->setFocus();
    if (TabB->isChecked())
        SetTabLayout(CodeTabStops(), "Code");
    else
        SetTabLayout(SymbolTabStops(), "Symbols");
}

bool TRTFForm::IsModified() const
{
    return RE->document()->isModified();
}

std::string TRTFForm::Text() const
{
    return ScriptBytesOfEditorText(RE->document()->toRawText());
}

void TRTFForm::SetText(const std::string &text)
{
    // One undoable edit that counts as a change of the text.
    QTextCursor cursor(RE->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(WithEditorLineBreaks(DecodeScript(text)));
}

std::vector<std::string> TRTFForm::Lines() const
{
    std::vector<std::string> lines;
    const QTextDocument *doc = RE->document();
    lines.reserve(static_cast<size_t>(doc->blockCount()));
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        lines.push_back(BlockBytes(block));
    // A text ending with a line break has an empty last block, which is no line of the file.
    if (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    return lines;
}

int TRTFForm::LineCount() const
{
    const QTextDocument *doc = RE->document();
    const int blocks = doc->blockCount();
    return blocks > 1 && doc->lastBlock().text().isEmpty() ? blocks - 1 : blocks;
}

std::string TRTFForm::Line(int index) const
{
    const QTextBlock block = RE->document()->findBlockByNumber(index);
    return block.isValid() ? BlockBytes(block) : std::string();
}

void TRTFForm::SetLine(int index, const std::string &text)
{
    const QTextBlock block = RE->document()->findBlockByNumber(index);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(WithEditorLineBreaks(DecodeScript(text)));
}

int TRTFForm::LineStart(int index) const
{
    const QTextBlock block = RE->document()->findBlockByNumber(index);
    return block.isValid() ? block.position() : RE->document()->characterCount() - 1;
}

void TRTFForm::SelectRange(int start, int length)
{
    const int end = RE->document()->characterCount() - 1;
    QTextCursor cursor(RE->document());
    cursor.setPosition(std::clamp(start, 0, end));
    cursor.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
    RE->setTextCursor(cursor);
}

void TRTFForm::ReplaceSelection(const QString &text)
{
    QTextCursor cursor = RE->textCursor();
    cursor.insertText(WithEditorLineBreaks(text));
    RE->setTextCursor(cursor);
}

bool TRTFForm::SaveToFile(const QString &path, TUnwritable unwritable)
{
    // QSaveFile writes a temporary file and renames it over the old one only when every byte
    // was written, so a full disk leaves the old file as it was. It refuses to replace a
    // read-only file. A writable script in a folder where no new file may be made (a
    // read-only folder) is written in place instead: not atomic, but the alternative is a
    // script that cannot be saved at all.
    if (unwritable == TUnwritable::Ask && !AgreeToUnwritableCharacters())
        return false;
    const std::string bytes = FileBytesFromText(Text());
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
    {
        OwnPrompts.ShowIOError(file.errorString());
        return false;
    }
    return true;
}

void TRTFForm::ShowMarks()
{
    RE->setExtraSelections(LiveCheck->Underlines() + RedLines);
}

void TRTFForm::ClearRedLines()
{
    RedLines.clear();
    ShowMarks();
}

bool TRTFForm::AgreeToUnwritableCharacters()
{
    const QString text = RE->document()->toPlainText();
    const size_t at = FirstUnwritableChar(std::u16string_view(
        reinterpret_cast<const char16_t *>(text.utf16()), static_cast<size_t>(text.size())));
    if (at == std::u16string_view::npos)
        return true;
    const auto position = static_cast<qsizetype>(at);
    const int line = RE->document()->findBlock(static_cast<int>(position)).blockNumber() + 1;
    // A character outside the Basic Multilingual Plane is a pair of code units; both go.
    const QChar first = text.at(position);
    const QString shown = first.isHighSurrogate() && position + 1 < text.size()
                              ? text.mid(position, 2)
                              : QString(first);
    return OwnPrompts.Confirm(
        QString("The character \"%1\" (U+%2) on line %3 cannot be held "
                "by a script file. Write it and all others like it as "
                "\"?\"?")
            .arg(shown)
            .arg(QString::number(shown.toUcs4().value(0), 16).toUpper().rightJustified(4, '0'))
            .arg(line));
}

bool TRTFForm::ReadFileBytes(const QString &path, std::string &bytes)
{
    TResult<std::string> read = ReadWholeFile(path.toStdString());
    if (!read)
    {
        OwnPrompts.ShowIOError(read.Error().c_str());
        return false;
    }
    bytes = std::move(*read);
    return true;
}

bool TRTFForm::LoadFromFile(const QString &path)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    ShowFileBytes(bytes);
    return true;
}

void TRTFForm::ShowFileBytes(const std::string &bytes)
{
    ClearRedLines();
    // The file holds what the text would write (the checker's refresh writes it and reads it
    // back): the text stays as it is, with what Undo can undo and with characters a file
    // stores as "?".
    const std::string text = TextFromFileBytes(bytes);
    if (text == Text())
        return;
    const QString loaded = DecodeScript(text);
    // Reading the text back must not make a changed text count as saved.
    const bool modified = IsModified();
    Tools->ReplaceText(loaded);
    RE->document()->setModified(modified);
}

bool TRTFForm::LoadFile(const QString &path)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    TakeFile(path, bytes);
    return true;
}

void TRTFForm::TakeFile(const QString &path, const std::string &bytes)
{
    ShowFileBytes(bytes);
    RE->document()->setModified(false);
    FileName = path;
    setWindowTitle(path);
    OnDisk = FileStamp(path.toStdString(), bytes);
}

void TRTFForm::CheckFileOnDisk()
{
    if (FileName.isEmpty() || CheckingDisk || IsClosing())
        return;
    const std::string path = FileName.toStdString();
    if (!FileMayHaveChanged(path, OnDisk))
        return;
    std::string bytes;
    if (FileExists(path))
    {
        TResult<std::string> read = ReadWholeFile(path);
        // Unreadable for now (another program may be writing it): asked again next time.
        if (!read)
            return;
        bytes = std::move(*read);
    }
    const TFileStamp now = FileStamp(path, bytes);
    // Touched but holding the same bytes is no change.
    if (now.Exists && OnDisk.Exists && now.Hash == OnDisk.Hash)
    {
        OnDisk = now;
        return;
    }
    CheckingDisk = true;
    // Asked once for each change: from here on, the file as it is now is the one known.
    OnDisk = now;
    if (!now.Exists)
        StatusBar1->showMessage(
            QString("%1 is no longer on disk; Save writes it again.").arg(FileName));
    else if (!IsModified() ||
             OwnPrompts.Confirm(
                 QString("'%1' was changed on disk by another program, and this window holds "
                         "changes that are not saved. Read the file again and lose the changes "
                         "in this window?")
                     .arg(FileName)))
    {
        TakeFile(FileName, bytes);
        StatusBar1->showMessage(
            QString("%1 was changed on disk and has been read again.").arg(FileName));
    }
    CheckingDisk = false;
}

bool TRTFForm::Save()
{
    // A window that never had a file asks for a name instead of writing a file called after
    // its caption in whatever the current folder is.
    if (FileName.isEmpty())
        return SaveAs();
    // New opens the starter script under its own path; the first save of a new script would
    // otherwise replace it, and every later New would start from the user's script.
    if (IsStarterScript(FileName.toStdString(), CogDir))
        switch (OwnPrompts.AskYesNoCancel("Save over the starter script default.cog?"))
        {
        case TAnswer::Yes:
            break;
        case TAnswer::No:
            return SaveAs();
        case TAnswer::Cancel:
            return false;
        }
    if (!SaveToFile(FileName))
        return false;
    RE->document()->setModified(false);
    // The bytes just written, without reading them back.
    OnDisk = FileStamp(FileName.toStdString(), FileBytesFromText(Text()));
    return true;
}

bool TRTFForm::SaveAs()
{
    if (!DirectoryExists(CogDir))
        CreateDir(CogDir);
    TFileDialog dialog;
    dialog.Title = "Save As";
    dialog.Filter = "Jedi Knight Cog File|*.cog";
    dialog.DefaultExt = "cog";
    dialog.InitialDir = QString::fromStdString(CogDir);
    dialog.FileName = Caption();
    dialog.ConfirmOverwrite = true;
    if (!OwnPrompts.ChooseSaveFile(dialog))
        return false;
    const QString path =
        QString::fromStdString(WithDefaultExt(dialog.FileName.toStdString(), ".cog"));
    if (!SaveToFile(path))
        return false;
    FileName = path;
    setWindowTitle(path);
    RE->document()->setModified(false);
    // The bytes just written, without reading them back.
    OnDisk = FileStamp(FileName.toStdString(), FileBytesFromText(Text()));
    return true;
}

void TRTFForm::Save1Click()
{
    Save();
}

void TRTFForm::SaveAs1Click()
{
    SaveAs();
}

QPrinter *TRTFForm::Printer()
{
    // Made on first use: setting up a printer asks the print system for its printers.
    if (!ThePrinter)
        ThePrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return ThePrinter.get();
}

void TRTFForm::Print1Click()
{
    QPrinter *printer = Printer();
    if (!OwnPrompts.ChoosePrinter(*printer))
        return;
    printer->setDocName(Caption());
    RE->print(printer);
}

void TRTFForm::PrintSetup1Click()
{
    OwnPrompts.SetupPrinter(*Printer());
}

void TRTFForm::Cut1Click()
{
    RE->cut();
}

void TRTFForm::Copy1Click()
{
    RE->copy();
}

void TRTFForm::Paste1Click()
{
    RE->paste();
}

void TRTFForm::Delete1Click()
{
    RE->textCursor().removeSelectedText();
}

void TRTFForm::Undo1Click()
{
    RE->undo();
}

void TRTFForm::SelectAll1Click()
{
    RE->selectAll();
}

void TRTFForm::Font1Click()
{
    QFont font = RE->font();
    if (OwnPrompts.ChooseFont(font))
    {
        RE->setFont(font);
        // The stops follow the width of the new font's characters.
        SetTabLayout(CurrentTabStops, StatusPanel->text());
    }
    RE->setFocus();
}

void TRTFForm::SBShowLBClick()
{
    emit LineBuilderAsked(this);
    ScanSymbols();
}

void TRTFForm::ScanSymbols()
{
    const std::vector<std::string> lines = Lines();
    // Every symbols line rebuilds the branch, so the last one decides; a script without one
    // leaves the Line Builder as it was.
    const int header = LastSymbolsLine(lines);
    if (header < 0)
        return;
    emit SymbolsScanned(this, FillSymbolTree(ParseSymbol(lines, header)));
}

void TRTFForm::SBConCheckClick()
{
    // The errors lead back to the editor focused most recently, so the checked one must be
    // it, also when the check was started from elsewhere than its own tool bar.
    if (QMdiArea *area = mdiArea(); area && area->currentSubWindow() != this)
        area->setActiveSubWindow(this);
    emit CheckRequested(this);
}

void TRTFForm::FormatCogClick()
{
    const std::vector<std::string> before = Lines();
    std::vector<std::string> after = before;
    if (SetSpace(after) == 0)
        return;
    // One edit for the undo history, so Undo brings the whole text back. From the last line
    // up, so a line that comes out as several blocks cannot shift the ones still to do.
    QTextCursor cursor(RE->document());
    cursor.beginEditBlock();
    for (size_t k = after.size(); k-- > 0;)
    {
        if (after[k] == before[k])
            continue;
        const QTextBlock block = RE->document()->findBlockByNumber(static_cast<int>(k));
        cursor.setPosition(block.position());
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(DecodeScript(after[k]));
    }
    cursor.endEditBlock();
}

void TRTFForm::PasteBClick()
{
    emit PasteAsked(this);
}

void TRTFForm::PasteBuiltLine(const QString &line)
{
    if (line.section('\n', 0, 0).isEmpty())
    {
        OwnPrompts.ShowMessage("Nothing to paste");
        return;
    }
    // The built line stays on the clipboard afterwards.
    QGuiApplication::clipboard()->setText(line);
    RE->paste();
}

bool TRTFForm::REDragOver(const QObject *source) const
{
    return TTreeDropEdit::IsTree(source);
}

void TRTFForm::REDragDrop(QObject *source)
{
    const QString text = TTreeDropEdit::SelectedItemText(source);
    if (!text.isEmpty())
        ReplaceSelection(text);
}

bool TRTFForm::FormCloseQuery()
{
    if (!IsModified())
        return true;
    switch (OwnPrompts.AskYesNoCancel(QString("'%1' has been modified, Save?").arg(Caption())))
    {
    case TAnswer::Yes:
        return Save();
    case TAnswer::No:
        return true;
    case TAnswer::Cancel:
        break;
    }
    return false;
}

void TRTFForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery())
    {
        event->ignore();
        return;
    }
    CloseChild(event);
}

void TRTFForm::mousePressEvent(QMouseEvent *event)
{
    // Presses the tool bar, the status bar or a button on them leave unhandled come up here
    // too, as do those on the title bar and the border; only the window's own surface, the
    // part of its body no control covers, counts.
    if (childAt(event->position().toPoint()) == widget())
        emit Clicked(this);
    TMDIChild::mousePressEvent(event);
}

void TRTFForm::showEvent(QShowEvent *event)
{
    TMDIChild::showEvent(event);
    // The Line Builder button's down state means nothing; each showing sets it up again.
    if (!event->spontaneous())
        SBShowLB->setChecked(false);
}

void TRTFForm::HiLitLine(int index)
{
    // The index comes from the last check; the text may have lost lines since.
    int start = 0;
    int length = 0;
    if (!FindLine(RE->document(), index, start, length))
        return;

    RE->window()->activateWindow();
    RE->setFocus();
    // The caret goes to the start of the line with nothing selected, so the next key typed
    // edits the line rather than replacing it.
    SelectRange(start, length);
    QTextEdit::ExtraSelection mark;
    mark.cursor = RE->textCursor();
    SelectRange(start, 0);
    // The red marks the spot; it is no edit of the script, so it is drawn over the text:
    // Undo still undoes the user's last edit, and an unmodified text stays unmodified.
    mark.format.setForeground(QColor(255, 0, 0));
    RedLines << mark;
    ShowMarks();
    RE->ensureCursorVisible();
}
