#include "ui/gamedata/resourcepicker.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/gamedata/resnames.h"
#include "core/gamedata/textures.h"
#include "core/shell/fileio.h"
#include "ui/common/modal.h"
#include "ui/common/scripttext.h"
#include "ui/common/uihelpers.h"

namespace {
const QColor Teal(0x00, 0x80, 0x80);
const QColor Grey(0x80, 0x80, 0x80);
constexpr int ImageWidth = 256;

// The text of a failure the core gave back, as the boxes show it.
QString What(const std::string &failure)
{
    return QString::fromStdString(failure);
}

void PaintTealOnBlack(QWidget *widget)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::Text, Teal);
    colours.setColor(QPalette::WindowText, Teal);
    widget->setPalette(colours);
}

QComboBox *AddCombo(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // A typed name is a choice, not a new item.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(160);
    return box;
}

// A name picked from the list, or typed and confirmed with Enter, is a choice. The box reports
// names of its list itself; a typed name of its own is passed on here, once however often the
// Enter key reaches the edit line (the box hands it on to its edit line a second time).
template <typename Handler> void ConnectChoice(QComboBox *box, QObject *receiver, Handler handler)
{
    QObject::connect(box, &QComboBox::textActivated, receiver, handler);
    auto confirmed = std::make_shared<bool>(false);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, receiver,
                     [confirmed] { *confirmed = false; });
    QObject::connect(
        box->lineEdit(), &QLineEdit::returnPressed, receiver, [box, handler, confirmed] {
            if (*confirmed)
                return;
            *confirmed = true;
            if (box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
                handler();
        });
}
} // namespace

TRes::TRes(TPrompts &prompts, const TGameFolders &game, const std::string &programDir,
           QWidget *parent)
    : QDialog(parent), OwnPrompts(prompts), Game(game), ProgramDir(programDir)
{
    setObjectName("Res");
    setWindowTitle("Resource Picker");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowState(Qt::WindowMaximized);
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, Grey);
    setPalette(grey);
    resize(800, 600);

    OD1.Filter = OD1Filter;
    OD1.FilterIndex = 1;

    Cb1 = AddCombo(this, "Cb1");
    PalBox = AddCombo(this, "PalBox");
    PalBox->setEditText("Default ColorMap");
    Bmpsave = new QToolButton(this);
    Bmpsave->setObjectName("Bmpsave");
    Bmpsave->setText("Save Mat to Bmp");
    Bmpsave->setToolTip("Saves the displayed mat to a Bmp file");
    Bmpsave->setAutoRaise(true);
    Bmpsave->setEnabled(false);

    LB1 = new QListWidget(this);
    LB1->setObjectName("LB1");
    LB1->setSelectionMode(QAbstractItemView::SingleSelection);
    LB1->setMinimumWidth(200);
    PaintTealOnBlack(LB1);
    LB2 = new QListWidget(this);
    LB2->setObjectName("LB2");
    LB2->hide();
    FLB1 = new QListWidget(this);
    FLB1->setObjectName("FLB1");
    FLB1->hide();

    // The picture at its natural size; a texture wider or taller than the room scrolls.
    Image = new QLabel;
    Image->setObjectName("Image");
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *imageArea = new QScrollArea(this);
    imageArea->setWidget(Image);
    imageArea->setFixedWidth(ImageWidth + 2 * imageArea->frameWidth() +
                             imageArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    imageArea->setBackgroundRole(QPalette::Window);

    auto *sizePanel = new QWidget(this);
    sizePanel->setObjectName("SizePanel");
    sizePanel->setAutoFillBackground(true);
    PaintTealOnBlack(sizePanel);
    Label1 = new QLabel(sizePanel);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(sizePanel);
    Label2->setObjectName("Label2");
    auto *sizes = new QVBoxLayout(sizePanel);
    sizes->addWidget(Label1);
    sizes->addWidget(Label2);
    sizes->addStretch();

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PaintTealOnBlack(Memo);

    ED = new QLineEdit(this);
    ED->setObjectName("ED");
    ED->setReadOnly(true);
    BBok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this);
    BBok->setObjectName("BBok");
    BBClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
    BBClose->setObjectName("BBClose");
    // Enter in a combo box chooses an archive or a colormap; it must not close the picker.
    for (QPushButton *button : {BBok, BBClose})
    {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(Cb1);
    top->addWidget(PalBox);
    top->addWidget(Bmpsave);
    top->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(LB1);
    middle->addWidget(imageArea);
    middle->addWidget(sizePanel, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ED);
    bottom->addWidget(BBok);
    bottom->addWidget(BBClose);
    bottom->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 3);
    layout->addWidget(Memo, 2);
    layout->addLayout(bottom);

    ConnectChoice(Cb1, this, [this] { Cb1Change(); });
    ConnectChoice(PalBox, this, [this] { PalBoxChange(); });
    connect(Bmpsave, &QToolButton::clicked, this, [this] { BmpsaveClick(); });
    connect(LB1, &QListWidget::itemSelectionChanged, this, [this] { LB1Click(); });
    connect(ED, &QLineEdit::textChanged, this, [this] { EDChange(); });
    connect(BBok, &QPushButton::clicked, this, [this] { BBokClick(); });
    connect(BBClose, &QPushButton::clicked, this, [this] { BBCloseClick(); });

    FormCreate();
}

void TRes::FormCreate()
{
    ReadGameFolders();
}

void TRes::ReadGameFolders()
{
    // The colormaps come with the first archive the folders give.
    CmpsLoaded = false;
    MemberMode = false;
    ForgetDirectory();
    Cb1->clear();
    LB1->clear();
    const TPickerArchives chosen = ChoosePickerArchives(Game);
    PickerArchive = chosen.Archive;
    if (!chosen.Found)
    {
        ArchiveRejected = true;
        ClearPicture();
        Ask().ShowMessage(QString::fromStdString(chosen.Message));
        return;
    }
    GetGobs(PickerArchive);
    FillArchiveChoice(chosen.ChoiceFolder, QString::fromStdString(chosen.ChoiceShown));
    MemberMode = true;
}

void TRes::FillArchiveChoice(const std::string &folder, const QString &shown)
{
    FLB1->clear();
    for (const std::string &name : ArchiveFilesIn(folder))
        FLB1->addItem(QString::fromStdString(name));
    Cb1->clear();
    for (int i = 0; i < FLB1->count(); ++i)
        Cb1->addItem(FLB1->item(i)->text());
    Cb1->setEditText(shown);
}

TRes::TArchiveRead TRes::ReadArchive(const std::string &path)
{
    TResult<TGobArchive> read = ReadGobArchive(path);
    if (!read && IsNotAGob(read.Error()))
    {
        ArchiveRejected = true;
        Ask().AbortError(NotAGobMessage);
        return TArchiveRead::NotAnArchive;
    }
    if (!read)
    {
        ArchiveRejected = true;
        Ask().ShowIOError(What(read.Error()));
        return TArchiveRead::Failed;
    }
    Archive = std::move(*read);
    return TArchiveRead::Read;
}

void TRes::GetGobs(const std::string &path)
{
    switch (ReadArchive(path))
    {
    case TArchiveRead::Read:
        break;
    case TArchiveRead::NotAnArchive:
        // The lists keep the names of the archive before; nothing is previewed from this one.
        return;
    case TArchiveRead::Failed:
        // Part of a directory is no listing of the archive: the picker lists nothing.
        ForgetDirectory();
        return;
    }
    ArchiveRejected = false;
    TakeDirectory();
    // The colormaps are taken once per run, from the first archive accepted.
    if (!CmpsLoaded)
        GetCmps();
    CmpsLoaded = true;
    if (!LastResType.isEmpty())
        GetRes(LastResType, LastResClear);
}

void TRes::TakeDirectory()
{
    MemberNames.clear();
    LB2->clear();
    for (const TGobEntry &entry : Archive.Entries)
    {
        MemberNames.push_back(TrimMemberName(std::string_view(entry.Name, sizeof entry.Name)));
        LB2->addItem(DecodeScript(MemberNames.back()));
    }
}

void TRes::ForgetDirectory()
{
    Archive = TGobArchive();
    MemberNames.clear();
    LB2->clear();
}

void TRes::GetCmps()
{
    PalBox->clear();
    PalBox->setEditText(QString());
    Colormaps.clear();
    // The colormap slots hold MaxColormaps; further colormaps of the archive are not offered.
    CmpIndex = ColormapMembers(MemberNames, MaxColormaps);
    for (int index : CmpIndex)
        PalBox->addItem(DecodeScript(MemberFileName(MemberNames[static_cast<size_t>(index)])));
    if (PalBox->count() > 0)
        StoreCmps();
    else
        PalBoxChange();
}

void TRes::StoreCmps()
{
    QStringList failures;
    Colormaps.assign(static_cast<size_t>(PalBox->count()), TColormap());
    for (int i = 0; i < PalBox->count(); ++i)
    {
        const TResult<TColormap> read = ReadCmp(Archive, CmpIndex[static_cast<size_t>(i)]);
        if (read)
            Colormaps[static_cast<size_t>(i)] = *read;
        else
        {
            // A damaged colormap leaves its slot black; the others are still loaded.
            failures << PalBox->itemText(i) + ": " + What(read.Error());
        }
    }
    if (!failures.isEmpty())
        Ask().ShowIOError(failures.join("\n"));
    PalBoxChange();
}

void TRes::PalBoxChange()
{
    if (PalBox->count() == 0)
    {
        PalBox->setEditText(QString());
        CurrentColormap = 0;
    }
    else
    {
        std::vector<std::string> items;
        for (int i = 0; i < PalBox->count(); ++i)
            items.push_back(EncodeScript(PalBox->itemText(i)));
        CurrentColormap =
            ChooseColormap(items, EncodeScript(PalBox->currentText()), CurrentColormap);
    }
    LB1Click();
}

void TRes::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TRes::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TRes::FormShow()
{
    PalBox->setEditText("dflt.cmp");
    PalBoxChange();
}

void TRes::FormHide()
{
    Memo->clear();
}

void TRes::SetListItems(QStringList names)
{
    // Sorted as the system's sorted list boxes are: without regard to case first.
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    LB1->clear();
    LB1->addItems(names);
}

void TRes::GetRes(const QString &ext, bool clear)
{
    LastResType = ext;
    LastResClear = clear;
    QStringList names;
    if (clear)
    {
        // The choice of an earlier request is not in the new list: OK without a click must
        // not hand it back again.
        ED->clear();
    }
    else
        for (int i = 0; i < LB1->count(); ++i)
            names << LB1->item(i)->text();
    MemberMode = true;
    for (const std::string &name : ListResNames(MemberNames, EncodeScript(ext)))
        names << DecodeScript(name);
    SetListItems(names);
}

void TRes::ListTemplates(TTPLRec table)
{
    TakeTemplates(std::move(table));
    ListTemplates();
}

void TRes::TakeTemplates(TTPLRec table)
{
    Templates = std::move(table);
}

void TRes::ListTemplates()
{
    QStringList names;
    for (const std::string &name : Templates.TplName)
        if (!name.empty())
            names << DecodeScript(name);
    ED->clear();
    MemberMode = false;
    SetListItems(names);
    ClearPicture();
}

void TRes::LB1Click()
{
    Memo->clear();
    const QList<QListWidgetItem *> selected = LB1->selectedItems();
    // A picture stays only beside the texture it shows.
    if (selected.isEmpty() || !MemberMode)
        ClearPicture();
    if (!selected.isEmpty())
    {
        const QString item = selected.first()->text();
        ED->setText(item);
        const std::string listed = EncodeScript(item);
        if (MemberMode)
            PreviewMember(ResMemberPath(listed));
        else
            Memo->appendPlainText(DecodeScript(FindTemplate(Templates, listed)));
    }
    // The caller takes a bare file name: a texture's or a sound's folder is dropped.
    ED->setText(DecodeScript(MemberFileName(EncodeScript(ED->text()))));
    EDChange();
}

void TRes::PreviewMember(const std::string &memberName)
{
    const bool texture = MemberExt(memberName) == ".mat";
    const int index = ArchiveRejected ? -1 : FindFirstName(MemberNames, memberName);
    if (index < 0)
    {
        // Whatever was shown before is not this texture; it must not be saved under its name.
        if (texture)
            ClearPicture();
        return;
    }
    if (texture)
        ShowTexture(index, memberName);
    else
        ShowText(index);
}

void TRes::ShowTexture(int index, const std::string &memberName)
{
    // Without the colormap chosen, a black one.
    const auto slot = static_cast<size_t>(CurrentColormap);
    const TResult<TMatPicture> read =
        LoadMatFromArchive(Archive, index, slot < Colormaps.size() ? Colormaps[slot] : TColormap());
    if (!read)
    {
        ClearPicture();
        Ask().ShowIOError(What(read.Error()));
        return;
    }
    const TMatPicture &picture = *read;
    ShownBmp = QByteArray(reinterpret_cast<const char *>(picture.Bmp.data()),
                          static_cast<qsizetype>(picture.Bmp.size()));
    QPixmap pixmap;
    pixmap.loadFromData(ShownBmp, "BMP");
    Image->setPixmap(pixmap);
    Image->resize(pixmap.size());
    Label1->setText(Q(picture.GridSizeText));
    Label2->setText(Q(picture.PixelSizeText));
    const std::string fileName = MemberFileName(memberName);
    ShownMat = DecodeScript(fileName);

    // Every preview leaves its picture beside the program. A folder that cannot be written is
    // reported once; the previews go on.
    QString error;
    if (WriteBmp(ChangeMemberExt(fileName, ".bmp"), error))
        BmpWriteReported = false;
    else if (!BmpWriteReported)
    {
        BmpWriteReported = true;
        Ask().ShowIOError(error);
    }
}

void TRes::ShowText(int index)
{
    const TResult<std::vector<uint8_t>> bytes = ReadGobMemberBytes(Archive, index);
    if (!bytes)
    {
        Ask().ShowIOError(What(bytes.Error()));
        return;
    }
    // Scripts end their lines with CR LF; the pane wants one break a line.
    QString text = DecodeScript(MemberPreviewText(*bytes));
    text.replace("\r\n", "\n");
    Memo->setPlainText(text);
}

void TRes::ClearPicture()
{
    Image->clear();
    Image->resize(0, 0);
    Label1->clear();
    Label2->clear();
    ShownBmp.clear();
    ShownMat.clear();
    EDChange();
}

bool TRes::WriteBmp(const std::string &fileName, QString &error) const
{
    // The name is in the archive's encoding; paths are UTF-8.
    const QString path = Q(ProgramDir) + DecodeScript(fileName);
    const TStatus written = WriteFileAtomic(path.toStdString(), ShownBmp.toStdString());
    if (!written)
    {
        error = What(written.Error()) + ": " + path;
        return false;
    }
    return true;
}

void TRes::EDChange()
{
    // Only the texture on display can be saved, and only under its own name.
    const QString text = ED->text();
    Bmpsave->setEnabled(MemberExt(EncodeScript(text)) == ".mat" && !ShownBmp.isEmpty() &&
                        text == ShownMat);
}

void TRes::BmpsaveClick()
{
    if (ShownBmp.isEmpty())
        return;
    QString error;
    if (!WriteBmp(ChangeMemberExt(EncodeScript(ED->text()), ".bmp"), error))
        Ask().ShowIOError(error);
}

void TRes::Cb1Change()
{
    const QString chosen = Cb1->currentText();
    if (chosen == "Project dir")
    {
        Ask().ShowMessage("not implemented yet");
        return;
    }
    const std::string name = chosen.toStdString();
    if (name.empty())
        return;
    // A name present in both folders ends with the MOTS archive.
    for (const std::string &folder : {Game.JKDir, Game.MotsDir})
    {
        const std::string path = folder.empty() ? std::string() : FindFileNoCase(folder, name);
        if (path.empty())
            continue;
        PickerArchive = path;
        GetGobs(PickerArchive);
    }
}

void TRes::UseDialog()
{
    OD1.Title = "Using Project Directory";
    OD1.InitialDir = Q(Game.ProjectDir);
    if (Ask().ChooseOpenFile(OD1))
        ED->setText(QFileInfo(OD1.FileName).fileName());
    else
        ED->clear();
}

int TRes::ShowPicker()
{
    return ShowModal(this);
}

void TRes::BBokClick()
{
    accept();
}

void TRes::BBCloseClick()
{
    reject();
}

void TRes::reject()
{
    ED->clear();
    QDialog::reject();
}
