#include "ui/gamedata/GobF.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/gamedata/G_fileops.h"
#include "core/gamedata/memberfile.h"
#include "core/shell/GlobalVar.h"
#include "core/shell/fileio.h"
#include "core/shell/pathcase.h"
#include "ui/shell/fonts.h"
#include "ui/shell/pictures.h"
#include "ui/shell/prompts.h"
#include "ui/shell/scripttext.h"
#include "ui/shell/uihelpers.h"

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

TGG::TGG(TPrompts &prompts, QWidget *parent) : QDialog(parent), OwnPrompts(prompts)
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
    // A run that stopped on an error left the bar showing; it does not belong to this archive.
    PB->hide();
    PB->setValue(0);
    const std::string file = path.toStdString();
    try
    {
        if (!ReadGobHeader(file))
        {
            // The lists keep the previous archive's names; extraction is inert until an
            // archive is accepted.
            OwnPrompts.AbortError(NotAGobMessage);
            return;
        }
        ReadGobDirectory(file);
    }
    catch (const std::exception &error)
    {
        // The directory in memory is cleared or only partly read by now, so the lists would
        // name members that are not there: an unreadable archive lists nothing.
        ClearItems();
        OwnPrompts.ShowIOError(QString::fromLocal8Bit(error.what()));
        return;
    }
    ShowItems();
    if (GobCountTruncated())
    {
        char text[128];
        std::snprintf(text, sizeof text, "Only the first %d of the %d entries are listed",
                      MaxGobEntries, static_cast<int>(GobHeader.Count));
        OwnPrompts.ShowMessage(text);
    }
}

void TGG::ShowItems()
{
    ClearItems();
    for (int k = 0; k < GobEntryCount(); ++k)
    {
        const std::string raw = GobEntryRawName(k);
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

TGG::TExtractResult TGG::ExtractMember(const QByteArray &rawName, int index, bool &replaceAll)
{
    std::string relPath;
    std::string refusal;
    if (!MemberPathToRelative(
            std::string_view(rawName.constData(), static_cast<size_t>(rawName.size())), relPath,
            refusal))
    {
        // A name that would land outside the program's folder is skipped; the others are
        // still extracted.
        OwnPrompts.ShowMessage(DecodeScript(refusal));
        return TExtractResult::Done;
    }
    if (NotAGob == 1)
        return TExtractResult::Done;
    try
    {
        // The folder extraction makes for scripts, made before the member's folders are
        // looked up so that cog\ names land in it. Folders are matched whatever their letter
        // case: the game's names say COG\ where the folder on disk is cog/.
        if (FindFolderNoCase(ProgramDir, "cog").empty())
            CreateDir(ProgramDir + "cog");
        // The relative path is in the name's encoding; the file system wants its own.
        const std::string target = ResolveFoldersNoCase(
            ProgramDir, QFile::encodeName(DecodeScript(relPath)).toStdString(), false);
        switch (CompareMemberWithFile(ArchivePath, index, target))
        {
        case TMemberTarget::Same:
            return TExtractResult::Done;
        case TMemberTarget::Differs:
            if (replaceAll)
                break;
            switch (OwnPrompts.AskReplace(
                QString("'%1' already exists and differs from the archive's copy. Replace it?")
                    .arg(QFile::decodeName(QByteArray::fromStdString(target)))))
            {
            case TReplaceAnswer::Yes:
                break;
            case TReplaceAnswer::YesToAll:
                replaceAll = true;
                break;
            case TReplaceAnswer::No:
                return TExtractResult::Done;
            case TReplaceAnswer::Cancel:
                return TExtractResult::Cancelled;
            }
            break;
        case TMemberTarget::Missing:
            break;
        }
        ExtractGobMember(target, index);
        ExtractedFiles << QFile::decodeName(QByteArray::fromStdString(target));
    }
    catch (const std::exception &error)
    {
        OwnPrompts.ShowIOError(QString::fromLocal8Bit(error.what()));
        return TExtractResult::Failed;
    }
    return TExtractResult::Done;
}

void TGG::BBExtractClick()
{
    PB->show();
    PB->setMaximum(static_cast<int>(LB1->selectedItems().size()));
    PB->setValue(0);
    ExtractedFiles.clear();
    bool selectionMade = false;
    bool replaceAll = false;
    for (int i = 0; i < LB1->count(); ++i)
    {
        QListWidgetItem *item = LB1->item(i);
        if (!item->isSelected())
            continue;
        selectionMade = true;
        const QByteArray rawName = item->data(RawNameRole).toByteArray();
        // Two members with the same name field: the first of them is the one extracted.
        const int index = FindMember(rawName);
        if (index < 0)
            continue;
        PB->setValue(PB->value() + 1);
        switch (ExtractMember(rawName, index, replaceAll))
        {
        case TExtractResult::Done:
            break;
        case TExtractResult::Failed:
            // A failed member stops the run with the bar showing how far it came; the
            // members extracted before it stay on disk.
            emit ScriptsExtracted(ExtractedFiles);
            return;
        case TExtractResult::Cancelled:
            // The user stopped the run: what was extracted stays, the dialog stays open.
            PB->hide();
            PB->setValue(0);
            emit ScriptsExtracted(ExtractedFiles);
            return;
        }
    }
    if (!selectionMade)
        OwnPrompts.ShowMessage("No Selection was made");
    PB->hide();
    PB->setValue(0);
    if (selectionMade)
        emit ScriptsExtracted(ExtractedFiles);
    accept();
}

void TGG::BBCancelClick()
{
    reject();
}
