// guidepictures: draws the windows the user guide shows, each in the state its page describes,
// and writes them as PNG files beside the guide's pages. The build runs it on the offscreen
// platform, so a window that changes changes its picture. It makes all it shows itself: a
// program folder from the build's data, the settings, a script with mistakes and a small game
// archive with scripts, a texture and a colormap.
//
//     guidepictures DATADIR OUTDIR
//
// DATADIR holds the program's data folders (qxdata, cog, help); OUTDIR receives the pictures.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "core/gamedata/archive.h"
#include "core/shell/binfile.h"
#include "core/shell/folders.h"
#include "ui/analysis/checkerwindow.h"
#include "ui/common/modal.h"
#include "ui/common/prompts.h"
#include "ui/common/settingskey.h"
#include "ui/editor/livecheck.h"
#include "ui/editor/scripteditor.h"
#include "ui/frame/helpwindow.h"
#include "ui/frame/mainframe.h"
#include "ui/gamedata/directoriesdialog.h"
#include "ui/gamedata/extractiondialog.h"
#include "ui/gamedata/resourcepicker.h"
#include "ui/linebuilder/linebuilderwindow.h"

namespace {

// Answers every question as a user who closes it would, and keeps the texts: a picture is
// drawn only when nothing asked anything unexpected.
class TQuietPrompts : public TPrompts
{
  public:
    QStringList Asked;

    void ShowMessage(const QString &text) override { Asked << text; }
    bool Confirm(const QString &text) override
    {
        Asked << text;
        return false;
    }
    TAnswer AskYesNoCancel(const QString &text) override
    {
        Asked << text;
        return TAnswer::Cancel;
    }
    TReplaceAnswer AskReplace(const QString &text) override
    {
        Asked << text;
        return TReplaceAnswer::Cancel;
    }
    void AbortError(const QString &text) override { Asked << text; }
    void ShowIOError(const QString &text) override { Asked << text; }
    bool ChooseOpenFile(TFileDialog &dialog) override
    {
        Asked << dialog.Title;
        return false;
    }
    bool ChooseSaveFile(TFileDialog &dialog) override
    {
        Asked << dialog.Title;
        return false;
    }
    bool ChooseFont(QFont &) override { return false; }
    bool ChoosePrinter(QPrinter &) override { return false; }
    bool SetupPrinter(QPrinter &) override { return false; }
};

std::string Le32(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    return {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
            static_cast<char>(bits >> 24)};
}

// An 8-bit texture material of one record, its pixels given row by row from the top.
std::string TextureMat(int width, int height, uint8_t (*pixel)(int x, int y))
{
    std::string mat =
        "MAT " + Le32(0x32) + Le32(2) + Le32(1) + Le32(1) + Le32(0) + Le32(0) + Le32(8);
    mat.resize(76, '\0');
    mat += std::string(40, '\0') + Le32(width) + Le32(height) + std::string(16, '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mat += static_cast<char>(pixel(x, y));
    return mat;
}

// Bricks: mortar is index 0, each brick a shade of its own from 16 up.
uint8_t Brick(int x, int y)
{
    const int row = y / 16;
    const int shifted = x + (row % 2) * 16;
    if (y % 16 == 0 || shifted % 32 == 0)
        return 0;
    return static_cast<uint8_t>(16 + ((shifted / 32 + row * 3) % 4) * 24 + (x * 7 + y * 3) % 8);
}

// A colormap: index 0 grey mortar, then warm brick colours.
std::string Colormap()
{
    std::string cmp = "CMP " + std::string(60, '\0');
    for (int i = 0; i < 256; ++i)
    {
        const int r = i == 0 ? 150 : 110 + (i * 3) % 120;
        const int g = i == 0 ? 150 : 40 + (i * 2) % 60;
        const int b = i == 0 ? 140 : 30 + i % 40;
        cmp += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
    }
    return cmp + std::string(64, '\0');
}

const char *const DoorScript = "# door.cog: opens a door when the player touches its switch\r\n"
                               "symbols\r\n"
                               "message     startup\r\n"
                               "message     activated\r\n"
                               "thing       door\r\n"
                               "surface     switch                         linkid=1\r\n"
                               "sound       opening=df_door2-1.wav         local\r\n"
                               "end\r\n"
                               "code\r\n"
                               "startup:\r\n"
                               "    SetWallCel(switch, 0);\r\n"
                               "    return;\r\n"
                               "activated:\r\n"
                               "    SetWallCel(switch, 1);\r\n"
                               "    PlaySoundThing(opening, door, 1.0, -1, -1, 0);\r\n"
                               "    MoveToFrame(door, 1, 8;\r\n"
                               "    return;\r\n"
                               "end\r\n";

bool WriteArchive(const std::string &path)
{
    const std::vector<std::pair<std::string, std::string>> members = {
        {"cog\\00_door.cog", DoorScript},
        {"cog\\lift.cog", "# lift.cog\r\nsymbols\r\nend\r\ncode\r\nend\r\n"},
        {"cog\\switch.cog", "# switch.cog\r\nsymbols\r\nend\r\ncode\r\nend\r\n"},
        {"mat\\bricks.mat", TextureMat(128, 128, Brick)},
        {"mat\\floor.mat", TextureMat(32, 32,
                                      [](int x, int y) {
                                          return static_cast<uint8_t>(((x / 8 + y / 8) % 2) ? 40
                                                                                            : 90);
                                      })},
        {"misc\\cmp\\dflt.cmp", Colormap()},
    };
    std::vector<TGobMemberInfo> layout;
    for (const auto &[name, bytes] : members)
        layout.push_back({name, static_cast<int64_t>(bytes.size())});
    const TStatus written =
        WriteGobArchive(path, layout, [&members](size_t index, TBinFile &output) {
            output.Write(members[index].second.data(), members[index].second.size());
        });
    if (!written)
        std::fprintf(stderr, "guidepictures: %s\n", written.Error().c_str());
    return static_cast<bool>(written);
}

void CopyFolder(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), to + "/" + name);
}

// Lets the window lay itself out and paint as it would on a screen.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Writes the pictures the build declared, and only those: a picture the build does not know
// would be left out of the installed guide.
class TPictures
{
  public:
    TPictures(const QString &out, const QStringList &names) : Out(out), Expected(names) {}

    bool Save(QWidget *window, const QString &name)
    {
        if (!Expected.contains(name))
        {
            std::fprintf(stderr, "guidepictures: %s is not among the pictures the build names\n",
                         qPrintable(name));
            Failed = true;
            return false;
        }
        window->show();
        Settle();
        const QPixmap picture = window->grab();
        if (picture.isNull() || !picture.save(Out + "/" + name, "PNG"))
        {
            std::fprintf(stderr, "guidepictures: cannot write %s\n", qPrintable(name));
            Failed = true;
            return false;
        }
        Saved << name;
        return true;
    }

    // Whether every picture was written.
    bool Done() const
    {
        bool done = !Failed;
        for (const QString &name : Expected)
            if (!Saved.contains(name))
            {
                std::fprintf(stderr, "guidepictures: %s was not drawn\n", qPrintable(name));
                done = false;
            }
        return done;
    }

  private:
    QString Out;
    QStringList Expected;
    QStringList Saved;
    bool Failed = false;
};

QTreeWidgetItem *FindEntry(QTreeWidget *tree, const QString &text)
{
    const QList<QTreeWidgetItem *> found =
        tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// Double-clicks the tree entry text as the user would; false when there is none.
bool DoubleClickEntry(TVF *builder, const QString &text)
{
    QTreeWidgetItem *entry = FindEntry(builder->TV, text);
    if (!entry)
        return false;
    builder->TVClick();
    builder->TV->setCurrentItem(entry);
    builder->TVDblClick();
    return true;
}

void Tick(TVF *builder, std::initializer_list<int> positions)
{
    for (const int position : positions)
        builder->CLB->item(position)->setCheckState(Qt::Checked);
}

QListWidgetItem *FindListed(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: guidepictures DATADIR OUTDIR PICTURE.png...\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Ostrel Forge");
    QApplication::setApplicationName("Quillex");
    const QString dataDir = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outDir);

    QTemporaryDir work(QDir::tempPath() + "/quillex-XXXXXX");
    if (!work.isValid())
    {
        std::fprintf(stderr, "guidepictures: no temporary folder\n");
        return 1;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.filePath("settings"));
    const QString programDir = work.filePath("program") + "/";
    for (const char *sub : {"qxdata", "cog", "help"})
        CopyFolder(dataDir + "/" + sub, programDir + sub);
    const QString gameDir = work.filePath("Jedi Knight/Resource") + "/";
    QDir().mkpath(gameDir);
    if (!WriteArchive((gameDir + "res2.gob").toStdString()))
        return 1;

    TQuietPrompts prompts;
    TGameFolders game;
    game.JKDir = gameDir.toStdString();
    game.TemplateFile = (gameDir + "Master.tpl").toStdString();
    SaveSettings(prompts, game);
    // The dialogs the program shows modally are shown here as windows, to be drawn.
    SetModalHook([](QDialog *) { return int(QDialog::Rejected); });

    TFrameSetup setup;
    setup.ProgramDir = programDir;
    TMainForm frame(prompts, setup);
    frame.resize(760, 520);
    frame.show();
    Settle();
    QStringList names;
    for (int i = 3; i < argc; ++i)
        names << QString::fromLocal8Bit(argv[i]);
    TPictures pictures(outDir, names);

    // The frame with the script open in an editor.
    {
        QFile script(programDir + "cog/door.cog");
        if (script.open(QIODevice::WriteOnly))
            script.write(DoorScript);
    }
    TRTFForm *editor = frame.OpenInEditor(nullptr, programDir + "cog/door.cog");
    editor->setGeometry(10, 10, 700, 400);
    pictures.Save(&frame, "frame.png");

    // Checked as it was typed: the mistake underlined, told in the status line at the caret.
    editor->LiveCheck->WhenAnalysed([editor](const TScriptAnalysis &analysis) {
        if (!analysis.Diagnostics.empty())
        {
            const TScriptPos &at = analysis.Diagnostics.front().Range.End;
            editor->SelectRange(editor->LineStart(at.Line) + at.Column, 0);
        }
    });
    Settle();
    pictures.Save(editor, "typing.png");

    // Check Cog: the Syntax Checker lists the mistake; a click shows its line in red.
    editor->SBConCheckClick();
    TSC *checker = frame.SyntaxChecker();
    if (checker->Errors->count() > 0)
    {
        checker->Errors->setCurrentRow(0);
        frame.ShowErrorLine(checker->SelectedLine());
    }
    pictures.Save(checker, "checker.png");
    pictures.Save(&frame, "checked.png");
    checker->hide();

    // The Line Builder: a flag verb built with the calculator, and the calculator open on it
    // again with the same boxes ticked, as the guide tells.
    editor->SBShowLBClick();
    TVF *builder = frame.LineBuilder();
    builder->resize(640, 470);
    if (QTreeWidgetItem *door = FindEntry(builder->TV, "door"))
        builder->ShowNode(door);
    for (int pass = 0; pass < 2; ++pass)
        if (DoubleClickEntry(builder, "SetActorFlags"))
        {
            Tick(builder, {3, 11});
            if (pass == 0)
                builder->FlagOKClick();
        }
    pictures.Save(builder, "linebuilder.png");
    builder->HideFlagCalculator();
    builder->hide();

    // The Resource Picker showing a texture of the archive in its colormap.
    TRes *picker = frame.ResourcePicker();
    picker->GetRes(".mat", true);
    picker->resize(640, 520);
    if (QListWidgetItem *bricks = FindListed(picker->LB1, "mat\\bricks.mat"))
        picker->LB1->setCurrentItem(bricks);
    pictures.Save(picker, "picker.png");
    picker->hide();

    // The extraction dialog on the archive, one script chosen.
    TGG *extraction = frame.Extraction();
    frame.OpenGobGoo(gameDir + "res2.gob");
    if (extraction->LB1->count() > 0)
        extraction->LB1->item(0)->setSelected(true);
    pictures.Save(extraction, "extraction.png");
    extraction->hide();

    // The Directories dialog with the folders set.
    TDir *directories = frame.Directories();
    frame.SetOptions1Click();
    pictures.Save(directories, "directories.png");
    directories->hide();

    // The help window finding a word.
    frame.Contents1Click();
    if (THelpWindow *help = frame.Help())
    {
        help->resize(760, 480);
        help->HelpSearch->setText("calculator");
        pictures.Save(help, "help.png");
        help->hide();
    }

    if (!prompts.Asked.isEmpty())
    {
        std::fprintf(stderr, "guidepictures: the program asked:\n");
        for (const QString &text : prompts.Asked)
            std::fprintf(stderr, "  %s\n", qPrintable(text));
        return 1;
    }
    return pictures.Done() ? 0 : 1;
}
