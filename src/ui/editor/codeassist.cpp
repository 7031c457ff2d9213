#include "ui/editor/codeassist.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QAction>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/linebuilder/verbdocs.h"
#include "core/shell/textutils.h"
#include "ui/common/scripttext.h"
#include "ui/common/uihelpers.h"
#include "ui/editor/highlighter.h"
#include "ui/editor/livecheck.h"
#include "ui/editor/scripteditor.h"

namespace {
// The item data role holding an entry's index in the completions.
constexpr int ItemRole = Qt::UserRole + 1;

QString Html(const std::string &scriptText)
{
    return DecodeScript(scriptText).toHtmlEscaped();
}

// A hover as a tooltip: the code line, the text's paragraphs, the list.
QString HoverHtml(const TScriptHover &hover)
{
    QString html;
    if (!hover.Code.empty())
        html += "<p style='white-space:pre'><code>" + Html(hover.Code) + "</code></p>";
    for (const QString &paragraph : DecodeScript(hover.Text).split("\n\n"))
        html += "<p>" + paragraph.toHtmlEscaped() + "</p>";
    if (!hover.Items.empty())
    {
        html += "<ul>";
        for (const std::string &item : hover.Items)
            html += "<li>" + Html(item) + "</li>";
        html += "</ul>";
    }
    return html;
}

QString KindText(TCompletionKind kind)
{
    switch (kind)
    {
    case TCompletionKind::Verb:
        return "verb";
    case TCompletionKind::Symbol:
        return "symbol";
    case TCompletionKind::Keyword:
        return "keyword";
    case TCompletionKind::Label:
        return "label";
    case TCompletionKind::SymbolType:
        return "type";
    case TCompletionKind::Message:
        return "message";
    }
    return {};
}
} // namespace

// The words of the completion list, sorted without regard to letter case as the completer
// searches them; each entry's text is made when the list shows it.
class TCompletionModel : public QAbstractListModel
{
  public:
    using QAbstractListModel::QAbstractListModel;

    void SetItems(std::vector<TCompletion> items)
    {
        std::vector<std::pair<std::string, size_t>> keys;
        keys.reserve(items.size());
        for (size_t i = 0; i < items.size(); ++i)
            keys.emplace_back(LowerAscii(items[i].Text), i);
        std::stable_sort(keys.begin(), keys.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        beginResetModel();
        Items.clear();
        Items.reserve(items.size());
        for (const auto &[key, index] : keys)
            Items.push_back(std::move(items[index]));
        endResetModel();
    }

    const TCompletion *Item(int row) const
    {
        return row >= 0 && static_cast<size_t>(row) < Items.size()
                   ? &Items[static_cast<size_t>(row)]
                   : nullptr;
    }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(Items.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const TCompletion *item = Item(index.row());
        if (!item)
            return {};
        switch (role)
        {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return DecodeScript(item->Text);
        case Qt::ToolTipRole:
            return item->Verb ? QString::fromStdString(VerbSignature(*item->Verb))
                              : KindText(item->Kind);
        case ItemRole:
            return index.row();
        default:
            return {};
        }
    }

  private:
    std::vector<TCompletion> Items;
};

TCodeAssist::TCodeAssist(TRTFForm *form, TLiveCheck *check)
    : QObject(form), Form(form), Editor(form->RE), Check(check),
      Highlighter(form->Tools->Highlighter), Model(new TCompletionModel(this))
{
    setObjectName("CodeAssist");
    TCogEdit *re = form->RE;

    Completer = new QCompleter(Model, this);
    Completer->setObjectName("Completer");
    Completer->setWidget(re);
    Completer->setCaseSensitivity(Qt::CaseInsensitive);
    Completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    Completer->setCompletionMode(QCompleter::PopupCompletion);
    Completer->setMaxVisibleItems(12);
    Completer->popup()->setObjectName("CompletionList");
    connect(Completer, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &index) { InsertCompletion(index); });

    ParameterTip = new QLabel(re, Qt::ToolTip);
    ParameterTip->setObjectName("ParameterTip");
    ParameterTip->setTextFormat(Qt::RichText);
    ParameterTip->setWordWrap(false);
    ParameterTip->setMargin(4);
    ParameterTip->setPalette(QToolTip::palette());
    ParameterTip->setAutoFillBackground(true);
    ParameterTip->setFrameShape(QFrame::Box);
    connect(re, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (ParameterTip->isVisible())
            ShowParameterTip();
    });

    MakeUsesPanel();

    QMenu *edit = form->Edit1;
    edit->addSeparator();
    CompleteWord1 = AddItem(edit, "CompleteWord1", "Complete &Word", QKeySequence("Ctrl+Space"));
    GoToDefinition1 =
        AddItem(edit, "GoToDefinition1", "Go to &Definition", QKeySequence(Qt::Key_F12));
    FindUses1 = AddItem(edit, "FindUses1", "Find &Uses", QKeySequence(Qt::SHIFT | Qt::Key_F12));
    connect(CompleteWord1, &QAction::triggered, this, [this] { CompleteWord1Click(); });
    connect(GoToDefinition1, &QAction::triggered, this, [this] { GoToDefinition1Click(); });
    connect(FindUses1, &QAction::triggered, this, [this] { FindUses1Click(); });

    re->KeyTaken = [this](QKeyEvent *event) { return KeyTaken(event); };
    re->KeyDone = [this](QKeyEvent *event) { KeyDone(event); };
    re->installEventFilter(this);
    re->viewport()->installEventFilter(this);
}

void TCodeAssist::MakeUsesPanel()
{
    UsesPanel = new QFrame(Form->widget());
    UsesPanel->setObjectName("UsesPanel");
    UsesPanel->setFrameShape(QFrame::StyledPanel);
    auto *usesLayout = new QVBoxLayout(UsesPanel);
    usesLayout->setContentsMargins(2, 2, 2, 2);
    usesLayout->setSpacing(2);
    auto *head = new QHBoxLayout;
    UsesTitle = new QLabel(UsesPanel);
    UsesTitle->setObjectName("UsesTitle");
    auto *close = new QToolButton(UsesPanel);
    close->setObjectName("UsesClose");
    close->setText("x");
    close->setAutoRaise(true);
    close->setToolTip("Close the list");
    head->addWidget(UsesTitle, 1);
    head->addWidget(close);
    usesLayout->addLayout(head);
    UsesList = new QListWidget(UsesPanel);
    UsesList->setObjectName("UsesList");
    UsesList->setFont(Editor->font());
    UsesList->setMaximumHeight(120);
    usesLayout->addWidget(UsesList);
    UsesPanel->hide();
    if (auto *layout = qobject_cast<QVBoxLayout *>(Form->widget()->layout()))
        layout->insertWidget(layout->indexOf(Editor) + 1, UsesPanel);
    connect(close, &QToolButton::clicked, UsesPanel, &QWidget::hide);
    connect(UsesList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ShowUse(UsesList->row(item)); });
    connect(UsesList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { ShowUse(UsesList->row(item)); });
}

std::string TCodeAssist::CaretLine(int &column) const
{
    const QTextCursor cursor = Editor->textCursor();
    column = cursor.positionInBlock();
    return Form->Line(cursor.blockNumber());
}

TLineReader TCodeAssist::Lines() const
{
    return [this, line = std::string()](int index) mutable -> std::string_view {
        line = Form->Line(index);
        return line;
    };
}

TScriptPlace TCodeAssist::PlaceAtPosition(const TScriptAnalysis &analysis, int position) const
{
    const QTextBlock block = Editor->document()->findBlock(position);
    return PlaceAt(analysis, block.blockNumber(), position - block.position());
}

void TCodeAssist::SelectRange(const TScriptRange &range)
{
    const int start = DocumentPosition(Editor->document(), range.Start);
    Form->SelectRange(start, DocumentPosition(Editor->document(), range.End) - start);
    Editor->centerCursor();
}

bool TCodeAssist::KeyTaken(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && ParameterTip->isVisible())
    {
        ParameterTip->hide();
        return true;
    }
    if (!Completer->popup()->isVisible())
        return false;
    switch (event->key())
    {
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The list's own keys: the completer takes them from its popup.
        event->ignore();
        return true;
    default:
        return false;
    }
}

void TCodeAssist::KeyDone(QKeyEvent *event)
{
    const QString text = event->text();
    if (text == "(" || text == ",")
        ShowParameterTip();
    int column = 0;
    const std::string line = CaretLine(column);
    const std::string_view word = WordBefore(line, column);
    if (Completer->popup()->isVisible())
    {
        // The list follows the word being typed, and goes when the word is left.
        const int wordStart = Editor->textCursor().position() - static_cast<int>(word.size());
        if (word.empty() || wordStart != WordStart)
            Completer->popup()->hide();
        else
            ShowList(DecodeScript(word), false);
        return;
    }
    const bool letter = text.size() == 1 && IsNameChar(EncodeScript(text)[0]) &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (letter && OpensCompletionByItself(line, column))
        ShowCompletion(false);
}

void TCodeAssist::CompleteWord1Click()
{
    ShowCompletion(true);
}

void TCodeAssist::ShowCompletion(bool asked)
{
    TCogEdit *re = Editor;
    const QTextCursor cursor = re->textCursor();
    int column = 0;
    const std::string line = CaretLine(column);
    // The colours know each line's section; without them the lines above are read.
    const std::optional<TCogSection> coloured = Highlighter->SectionOf(cursor.block());
    const TCogSection section = coloured ? *coloured : SectionAbove(Lines(), cursor.blockNumber());
    const TWritingContext context = WritingContextAt(line, column, section);
    if (context.Kind == TWritingKind::Nothing || context.Kind == TWritingKind::SymbolRest)
        return;
    // The script's names come from the last analysis: those being typed may be new, the
    // others rarely are.
    std::shared_ptr<const TScriptAnalysis> latest = Check->Latest();
    if (!latest)
        latest = Check->AnalysisNow();
    static const TScriptAnalysis none;
    Model->SetItems(CompletionsFor(context, latest ? *latest : none, Check->Options().Game));
    WordStart = cursor.block().position() + context.WordStart;
    ShowList(DecodeScript(context.Typed), asked);
}

void TCodeAssist::ShowList(const QString &prefix, bool asked)
{
    Completer->setCompletionPrefix(prefix);
    if (Completer->completionCount() == 0)
    {
        Completer->popup()->hide();
        return;
    }
    if (asked && Completer->completionCount() == 1)
    {
        InsertCompletion(Completer->currentIndex());
        return;
    }
    // Under the word, as wide as its longest entry and as high as its entries.
    QTextCursor word(Editor->document());
    word.setPosition(WordStart);
    QRect rect = Editor->cursorRect(word);
    rect.setWidth(Completer->popup()->sizeHintForColumn(0) +
                  Completer->popup()->verticalScrollBar()->sizeHint().width() + 8);
    Completer->complete(rect);
    Completer->popup()->setCurrentIndex(Completer->completionModel()->index(0, 0));
}

void TCodeAssist::InsertCompletion(const QModelIndex &index)
{
    bool ok = false;
    const TCompletion *chosen = Model->Item(index.data(ItemRole).toInt(&ok));
    if (!ok || !chosen)
        return;
    const TCompletion item = *chosen;
    TCogEdit *re = Editor;
    QTextCursor cursor = re->textCursor();
    cursor.beginEditBlock();
    cursor.setPosition(std::min(WordStart, cursor.position()), QTextCursor::KeepAnchor);
    cursor.insertText(DecodeScript(item.Text));
    int selectFrom = -1;
    int selectLength = 0;
    if (item.Verb)
    {
        // The call's parentheses come with it unless they are there already.
        const QString after = cursor.block().text().mid(cursor.positionInBlock());
        if (!after.trimmed().startsWith('('))
        {
            const std::vector<std::string> words = VerbParameterWords(*item.Verb);
            QString call = "(";
            for (size_t i = 0; i < words.size(); ++i)
                call += (i ? ", " : "") + DecodeScript(words[i]);
            call += ")";
            selectFrom = cursor.position() + 1;
            selectLength = words.empty() ? 0 : static_cast<int>(DecodeScript(words[0]).size());
            cursor.insertText(call);
        }
    }
    cursor.endEditBlock();
    if (selectFrom >= 0)
    {
        cursor.setPosition(selectFrom);
        cursor.setPosition(selectFrom + selectLength, QTextCursor::KeepAnchor);
    }
    re->setTextCursor(cursor);
    Completer->popup()->hide();
    if (selectFrom >= 0)
        ShowParameterTip();
}

void TCodeAssist::ShowParameterTip()
{
    int column = 0;
    TOpenCall call;
    const std::string line = CaretLine(column);
    const std::vector<const TVerbFact *> verbs = OpenCallAt(line, column, call)
                                                     ? VerbsShown(call.Verb, Check->Options().Game)
                                                     : std::vector<const TVerbFact *>();
    if (verbs.empty())
    {
        ParameterTip->hide();
        return;
    }
    const TVerbFact &verb = *verbs.front();
    const QString signature = QString::fromStdString(VerbSignature(verb));
    const std::vector<TTextSpan> spans = VerbParameterSpans(verb);
    QString html = "<code>";
    if (call.Argument < static_cast<int>(spans.size()))
    {
        const TTextSpan &span = spans[static_cast<size_t>(call.Argument)];
        const int start = static_cast<int>(span.Start);
        const int length = static_cast<int>(span.Length);
        html += signature.left(start).toHtmlEscaped() + "<b>" +
                signature.mid(start, length).toHtmlEscaped() + "</b>" +
                signature.mid(start + length).toHtmlEscaped();
    }
    else
        html += signature.toHtmlEscaped();
    html += "</code><br>" + QString::fromStdString(verb.Description).toHtmlEscaped();
    ParameterTip->setText(html);
    ParameterTip->adjustSize();
    TCogEdit *re = Editor;
    const QRect caret = re->cursorRect();
    ParameterTip->move(re->viewport()->mapToGlobal(caret.bottomLeft() + QPoint(0, 4)));
    ParameterTip->show();
}

QString TCodeAssist::TipAt(const QPoint &point)
{
    TCogEdit *re = Editor;
    const QTextCursor cursor = re->cursorForPosition(point);
    // Past the end of a line the mouse is over no word.
    if (re->cursorRect(cursor).left() + re->fontMetrics().averageCharWidth() < point.x())
        return {};
    const int position = cursor.position();
    QString tip;
    if (const QString finding = Check->FindingAt(position); !finding.isEmpty())
        tip = "<p>" + finding.toHtmlEscaped() + "</p>";
    // A long script is told about once its analysis, started if need be, is there.
    if (const std::shared_ptr<const TScriptAnalysis> analysis = Check->AnalysisNow())
    {
        // The word under the mouse: the place of its first character is on it.
        if (const std::optional<TScriptHover> hover = HoverAt(
                *analysis, Lines(), PlaceAtPosition(*analysis, position), Check->Options().Game))
            tip += HoverHtml(*hover);
    }
    return tip;
}

void TCodeAssist::GoToDefinition1Click()
{
    const int position = Editor->textCursor().position();
    Check->WhenAnalysed([this, position](const TScriptAnalysis &analysis) {
        if (const std::optional<TScriptRange> range =
                DefinitionAt(analysis, PlaceAtPosition(analysis, position)))
            SelectRange(*range);
        else
            Form->StatusBar1->showMessage("No symbol, label or message at the caret", 5000);
    });
}

void TCodeAssist::FindUses1Click()
{
    const int position = Editor->textCursor().position();
    Check->WhenAnalysed([this, position](const TScriptAnalysis &analysis) {
        const TScriptPlace place = PlaceAtPosition(analysis, position);
        Uses = OccurrencesAt(analysis, place, true);
        if (Uses.empty())
        {
            UsesPanel->hide();
            Form->StatusBar1->showMessage("No symbol, label or message at the caret", 5000);
            return;
        }
        std::sort(Uses.begin(), Uses.end(),
                  [](const TScriptRange &a, const TScriptRange &b) { return a.Start < b.Start; });
        QTextDocument *doc = Editor->document();
        const TScriptRange &first = Uses.front();
        const QString name = doc->findBlockByNumber(first.Start.Line)
                                 .text()
                                 .mid(first.Start.Column, first.End.Column - first.Start.Column);
        UsesList->clear();
        for (const TScriptRange &use : Uses)
            UsesList->addItem(QString("%1: %2")
                                  .arg(use.Start.Line + 1, 5)
                                  .arg(doc->findBlockByNumber(use.Start.Line).text().trimmed()));
        UsesTitle->setText(QString("%1 places name %2").arg(Uses.size()).arg(name));
        UsesPanel->show();
        UsesList->setCurrentRow(0);
    });
}

void TCodeAssist::ShowUse(int row)
{
    if (row < 0 || static_cast<size_t>(row) >= Uses.size())
        return;
    SelectRange(Uses[static_cast<size_t>(row)]);
    Editor->setFocus();
}

bool TCodeAssist::eventFilter(QObject *watched, QEvent *event)
{
    // The filter hears the editor's last events while the window is taken down: it reads
    // nothing of the window for them.
    if (watched == Editor)
    {
        if (event->type() == QEvent::FocusOut)
            ParameterTip->hide();
        return false;
    }
    if (event->type() == QEvent::ToolTip)
    {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = TipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, Editor->viewport());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
    {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) &&
            !Editor->textCursor().hasSelection())
            GoToDefinition1Click();
    }
    return false;
}
