#include "ui/gamedata/extractiondialog.h"

#include <cstdio>
#include <string>
#include <string_view>

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/gamedata/archive.h"
#include "core/gamedata/extraction.h"
#include "core/shell/fileio.h"
#include "core/shell/shellrules.h"
#include "ui/common/fonts.h"
#include "ui/common/pictures.h"
#include "ui/common/prompts.h"
#include "ui/common/scripttext.h"
#include "ui/common/uihelpers.h"

namespace {
constexpr int ItemHeight = 15;

QString ShownName(const QByteArray &rawName)
{
    return DecodeScript(
        NameToFirstNul(std::string_view(rawName.constData(), static_cast<size_t>(rawName.size()))));
}

QListWidgetItem *NameItem(const QByteArray &rawName)
{
    auto *item = new QListWidgetItem(ShownName(rawName));
    item->setData(TGG::RawNameRole, rawName);
    return item;
}
} // namespace

TGG::TGG(TPrompts &prompts, const std::string &programDir, QWidget *parent)
    : QDialog(parent), OwnPrompts(prompts), ProgramDir(programDir)
{
    setObjectName("GG");
    setWindowTitle("Extract cog(s)");
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(333, 222);
    setAttribute(Qt::WA_QuitOnClose, false);

    LB1 = new QListWidget(this);
    LB1->setObjectName("LB1");
    LB1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LB1->setToolTip("Hold ctrl Key and drag to fast select");
    LB1->setFont(FixedFont(12));
    LB1->setUniformItemSizes(true);
    LB1->setItemDelegate(new TFixedHeightDelegate(ItemHeight, LB1));
    QPalette colours = LB1->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0x00, 0x80, 0x80));
    LB1->setPalette(colours);

    LB2 = new QListWidget(this);
    LB2->setObjectName("LB2");
    LB2->hide();

    PB = new QProgressBar(this);
    PB->setObjectName("PB");
    PB->setRange(0, 100);
    PB->setValue(0);
    PB->setTextVisible(false);
    PB->hide();

    BBExtract = new QPushButton(ButtonIcon("save"), "Extract", this);
    BBExtract->setObjectName("BBExtract");
    // The picture stands to the right of the caption.
    BBExtract->setLayoutDirection(Qt::RightToLeft);
    BBExtract->setDefault(true);
    BBCancel =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
    BBCancel->setObjectName("BBCancel");
    for (QPushButton *button : {BBExtract, BBCancel})
        button->setFixedSize(75, 25);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(LB1, 1);
    left->addWidget(PB);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(BBExtract);
    buttons->addWidget(BBCancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(BBExtract, &QPushButton::clicked, this, [this] { BBExtractClick(); });
    connect(BBCancel, &QPushButton::clicked, this, [this] { BBCancelClick(); });
}

void TGG::LoadGob(const QString &path)
{
    PB->hide();
    PB->setValue(0);
    TResult<TGobArchive> read = ReadGobArchive(path.toStdString());
    if (!read && IsNotAGob(read.Error()))
    {
        // The lists keep the archive before, but nothing is extracted from them.
        Rejected = true;
        OwnPrompts.AbortError(NotAGobMessage);
        return;
    }
    if (!read)
    {
        Archive = TGobArchive();
        ClearItems();
        OwnPrompts.ShowIOError(QString::fromStdString(read.Error()));
        return;
    }
    Archive = std::move(*read);
    Rejected = false;
    ShowItems();
    if (Archive.CountTruncated)
    {
        char text[128];
        std::snprintf(text, sizeof text, "Only the first %d of the %d entries are listed",
                      MaxGobEntries, static_cast<int>(Archive.Header.Count));
        OwnPrompts.ShowMessage(text);
    }
}

void TGG::ShowItems()
{
    ClearItems();
    for (int k = 0; k < Archive.Count(); ++k)
    {
        const std::string raw = GobEntryRawName(Archive, k);
        const QByteArray rawName(raw.data(), static_cast<qsizetype>(raw.size()));
        LB2->addItem(NameItem(rawName));
        if (IsCogMemberName(raw))
            LB1->addItem(NameItem(rawName));
    }
}

void TGG::ClearItems()
{
    LB1->clear();
    LB2->clear();
}

int TGG::FindMember(const QByteArray &rawName) const
{
    for (int k = 0; k < LB2->count(); ++k)
        if (LB2->item(k)->data(RawNameRole).toByteArray() == rawName)
            return k;
    return -1;
}

void TGG::BBExtractClick()
{
    std::vector<int> indices;
    bool selectionMade = false;
    for (int i = 0; i < LB1->count(); ++i)
    {
        QListWidgetItem *item = LB1->item(i);
        if (!item->isSelected())
            continue;
        selectionMade = true;
        const int index = FindMember(item->data(RawNameRole).toByteArray());
        if (index >= 0)
            indices.push_back(index);
    }
    if (!selectionMade)
    {
        OwnPrompts.ShowMessage("No Selection was made");
        accept();
        return;
    }
    PB->show();
    PB->setMaximum(static_cast<int>(indices.size()));
    PB->setValue(0);
    if (Rejected)
    {
        for (size_t i = 0; i < indices.size(); ++i)
            PB->setValue(PB->value() + 1);
        indices.clear();
    }

    // The scripts go below the program's folder, each to its own relative path; a file there
    // that differs is replaced only when the user agrees, and a failure ends the run.
    TExtractHandlers handlers;
    handlers.OnMember = [this](int) { PB->setValue(PB->value() + 1); };
    handlers.ToFilePath = [](const std::string &relPath) { return Utf8FromScriptBytes(relPath); };
    handlers.OnDiffers = [this](const std::string &target) {
        switch (OwnPrompts.AskReplace(
            QString("'%1' already exists and differs from the archive's copy. Replace it?")
                .arg(QString::fromStdString(target))))
        {
        case TReplaceAnswer::Yes:
            return TDiffersAnswer::Replace;
        case TReplaceAnswer::YesToAll:
            return TDiffersAnswer::ReplaceAll;
        case TReplaceAnswer::No:
            return TDiffersAnswer::Keep;
        case TReplaceAnswer::Cancel:
            break;
        }
        return TDiffersAnswer::Cancel;
    };
    bool failed = false;
    handlers.OnNote = [this, &failed](const TExtractNote &note) {
        switch (note.Kind)
        {
        case TExtractNote::TKind::Refused:
            OwnPrompts.ShowMessage(DecodeScript(note.Message));
            return true;
        case TExtractNote::TKind::Failed:
            OwnPrompts.ShowIOError(QString::fromStdString(note.Message));
            failed = true;
            return false;
        case TExtractNote::TKind::Duplicate:
        case TExtractNote::TKind::Kept:
            break;
        }
        return true;
    };
    const TExtractResult result = ExtractMembers(Archive, indices, ProgramDir, handlers);
    QStringList written;
    for (const std::string &path : result.Written)
        written << QString::fromStdString(path);
    // After a failure the bar stays where the run stopped.
    if (!failed)
    {
        PB->hide();
        PB->setValue(0);
    }
    emit ScriptsExtracted(written);
    // A cancelled question or a failure leaves the dialog open on the same choice.
    if (!result.Stopped)
        accept();
}
void TGG::BBCancelClick()
{
    reject();
}
