#include "ui/linebuilder/Global.h"

#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

#include "ui/shell/mdimain.h"
#include "ui/shell/scripttext.h"

TVF::TVF(QWidget *parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName("VF");
    setWindowTitle("VF");
    resize(609, 404);
    move(119, 132);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *splitter = new QSplitter(this);
    TV = new QTreeWidget(splitter);
    TV->setObjectName("TV");
    TV->setHeaderHidden(true);
    TV->setIndentation(19);
    TV->setDragEnabled(true);
    TV->setDragDropMode(QAbstractItemView::DragOnly);
    CreateFlagPanel(splitter);
    RE1 = new QPlainTextEdit(splitter);
    RE1->setObjectName("RE1");
    RE1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    splitter->setSizes({190, 401});
    setCentralWidget(splitter);
}

void TVF::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (MainForm)
        MainForm->RememberTargetEditor();
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
