// Saving and every export tried against the faults a user's disk can have: each row is a fault and
// what must survive it. Permission faults are real: as root, the file system is asked as "nobody".
#include "candidate_file.hpp"
#include "candidate_table.hpp"
#include "digitizer_import_dialog.hpp"
#include "explorer_window.hpp"
#include "map_panel.hpp"
#include "map_view.hpp"
#include "number_text.hpp"
#include "save_path.hpp"
#include "window_driver.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace window_test;
namespace fs = std::filesystem;

namespace {

constexpr char kOld[] = "old contents\n";

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text;
}

// The file system asked as an ordinary user for the scope's length, the process otherwise
// unchanged (setfsuid is undone, capabilities come back with it).
class AsNobody {
public:
    AsNobody() : root_(::geteuid() == 0) {
        if (root_) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~AsNobody() {
        if (root_) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }

private:
    bool root_;
};

// A file size limit standing in for a full disk: writing past it fails with EFBIG.
class SizeLimit {
public:
    explicit SizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit low = old_;
        low.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &low);
    }
    ~SizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

using Writer = bool (ExplorerWindow::*)(const QString&);

struct Fault {
    const char* name;
    // Arranges the fault around `file` in `folder` and writes through `write`; returns what the
    // user was told (empty when nothing).
    std::function<QStringList(const fs::path& folder, const fs::path& file,
                              const std::function<bool()>& write, bool& written)>
        run;
    int error; // the system's reason the user must be told, in the user's language
};

QStringList told(const std::function<bool()>& write, bool& written) {
    PopupWatcher watcher;
    written = write();
    return watcher.messages();
}

const Fault kFaults[] = {
    {"read-only file",
     [](const fs::path&, const fs::path& file, const auto& write, bool& written) {
         put(file, kOld);
         ::chmod(file.c_str(), 0444);
         AsNobody nobody;
         return told(write, written);
     },
     EACCES},
    {"read-only folder",
     [](const fs::path& folder, const fs::path& file, const auto& write, bool& written) {
         put(file, kOld);
         ::chmod(file.c_str(), 0666);
         ::chmod(folder.c_str(), 0555);
         AsNobody nobody;
         auto seen = told(write, written);
         ::chmod(folder.c_str(), 0777);
         return seen;
     },
     EACCES},
    {"full disk (file size limit)",
     [](const fs::path&, const fs::path& file, const auto& write, bool& written) {
         put(file, kOld);
         SizeLimit limit(64);
         return told(write, written);
     },
     EFBIG},
};

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        folder_ = fs::path(QFile::encodeName(dir_.path()).toStdString()) / "work";
        fs::create_directory(folder_);
        // "nobody" must reach the folder; only the fault decides what it may write there.
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
        ::chmod(folder_.c_str(), 0777);
        std::signal(SIGXFSZ, SIG_IGN);
    }
    bool onlyExpectedFiles(const std::vector<std::string>& names) {
        std::vector<std::string> present;
        for (const auto& e : fs::directory_iterator(folder_))
            present.push_back(e.path().filename().string());
        std::sort(present.begin(), present.end());
        auto wanted = names;
        std::sort(wanted.begin(), wanted.end());
        for (const auto& name : present)
            if (std::find(wanted.begin(), wanted.end(), name) == wanted.end())
                ADD_FAILURE() << "left in the folder: " << name;
        return present == wanted;
    }
    QTemporaryDir dir_;
    fs::path folder_;
};

const struct {
    const char* what;
    Writer write;
    const char* file;
} kWriters[] = {
    {"Save", &ExplorerWindow::saveTo, "design.csv"},
    {"PNG", &ExplorerWindow::exportChartImage, "chart.png"},
    {"SVG", &ExplorerWindow::exportChartSvg, "chart.svg"},
    {"CSV", &ExplorerWindow::exportCurveCsv, "curves.csv"},
    {"PDF", &ExplorerWindow::exportDesignSheet, "sheet.pdf"},
};

TEST_F(FileFaults, EachFaultLeavesTheOldFileAndSaysWhy) {
    if (::geteuid() == 0 && ::setfsuid(65534) != 0)
        GTEST_SKIP() << "cannot ask the file system as another user";
    ::setfsuid(0);
    ExplorerWindow w;
    runModal(w, [&] {
        for (const auto& writer : kWriters) {
            for (const auto& fault : kFaults) {
                const auto file = folder_ / writer.file;
                bool written = true;
                const QStringList seen = fault.run(
                    folder_, file,
                    [&] { return (w.*writer.write)(QFile::decodeName(file.c_str())); }, written);
                const std::string row = std::string(writer.what) + ", " + fault.name;
                EXPECT_FALSE(written) << row;
                ASSERT_EQ(seen.size(), 1) << row;
                EXPECT_TRUE(seen[0].contains(QString::fromLocal8Bit(std::strerror(fault.error))))
                    << row << ": " << seen[0].toStdString();
                EXPECT_EQ(contents(file), kOld) << row;
                EXPECT_TRUE(onlyExpectedFiles({writer.file}))
                    << row << ": a temporary file is left";
                fs::remove(file);
            }
        }
    });
}

// A file's text with a PDF's creation time taken out.
std::string withoutStamp(std::string text) {
    const auto at = text.find("/CreationDate (");
    if (at != std::string::npos)
        text.erase(at, text.find(')', at) - at);
    return text;
}

// Links are written through: the link stays, the file it ends at takes the new contents, and is
// created when the link is broken. A temporary file that a killed save left is removed.
TEST_F(FileFaults, LinksAreWrittenThroughAndLeftoversRemoved) {
    ExplorerWindow w;
    runModal(w, [&] {
        for (const auto& writer : kWriters) {
            const std::string row = writer.what;
            const auto link = folder_ / writer.file;
            const auto real = folder_ / "real";
            put(real, kOld);
            fs::create_symlink("real", link);
            const auto leftover = folder_ / ".real.saving-999999999-0";
            put(leftover, "half");
            EXPECT_TRUE((w.*writer.write)(QFile::decodeName(link.c_str()))) << row;
            EXPECT_TRUE(fs::is_symlink(link)) << row;
            EXPECT_NE(contents(real), kOld) << row;
            EXPECT_TRUE(onlyExpectedFiles({writer.file, "real"})) << row;

            const auto made = folder_ / "made";
            const auto broken = folder_ / ("broken-" + std::string(writer.file));
            fs::create_symlink("made", broken);
            bool written = false;
            const auto seen =
                told([&] { return (w.*writer.write)(QFile::decodeName(broken.c_str())); }, written);
            EXPECT_TRUE(written) << row << ": " << seen.join(' ').toStdString();
            EXPECT_TRUE(fs::is_symlink(broken)) << row;
            // The same writing twice; a PDF stamps the second it was made, which may differ.
            EXPECT_EQ(withoutStamp(contents(made)), withoutStamp(contents(real))) << row;
            for (const auto& e : {link, real, made, broken})
                fs::remove(e);
        }
    });
}

// A colleague's row appended on disk after opening is not lost to an unasked Save.
TEST_F(FileFaults, ChangedOnDiskIsAskedAbout) {
    const auto file = folder_ / "design.csv";
    ExplorerWindow w;
    runModal(w, [&] {
        const QString path = QFile::decodeName(file.c_str());
        ASSERT_TRUE(w.saveTo(path));
        ASSERT_TRUE(w.openFile(path));
        const std::string changed = contents(file) + "Colleague,4.3,2,0.8,typed,1.41,32,0.7,0.8,"
                                                     "0.9,25,14.7,788\n";
        put(file, changed);
        QStringList seen;
        bool written = true;
        seen = told([&] { return w.saveTo(path); }, written); // the question closed: cancelled
        EXPECT_FALSE(written);
        ASSERT_EQ(seen.size(), 1);
        EXPECT_TRUE(seen[0].contains("changed on disk")) << seen[0].toStdString();
        EXPECT_EQ(contents(file), changed);
    });
}

// "mydesign" typed over an existing mydesign.csv is asked about before anything is replaced.
TEST_F(FileFaults, ATypedNameGetsItsSuffixBeforeTheReplaceQuestion) {
    put(folder_ / "mydesign.csv", kOld);
    QString question;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        typeInto(name, QStringLiteral("mydesign"));
        pressKey(name, Qt::Key_Return);
    });
    const QString folder = QFile::decodeName(folder_.c_str());
    const QString chosen =
        dialogs::askSavePath(nullptr, QStringLiteral("Save"), folder,
                             QStringLiteral("Candidate files (*.csv)"), QStringLiteral("csv"));
    EXPECT_TRUE(question.contains("mydesign.csv")) << question.toStdString();
    EXPECT_EQ(chosen, folder + QStringLiteral("/mydesign.csv"));
    EXPECT_EQ(contents(folder_ / "mydesign.csv"), kOld); // asking wrote nothing
}

// Calls `act` with the next modal widget of type T once it shows, for a few seconds at most.
template <class T> void whenShown(std::function<void(T&)> act, int tries = 200) {
    QTimer::singleShot(20, [act, tries] {
        if (auto* shown = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*shown);
        else if (tries > 0)
            whenShown<T>(act, tries - 1);
    });
}

void answerNextBox(QMessageBox::StandardButton button, QString* text) {
    whenShown<QMessageBox>([button, text](QMessageBox& box) {
        *text = box.text();
        box.button(button)->click();
    });
}

// A traced map is unsaved work: its tab and the window show a star, and closing the tab or the
// window asks first. Cancel keeps the edit, Discard leaves the file as it was, Save writes it.
TEST_F(FileFaults, MapEditsAreAskedAboutOnClose) {
    const auto file = folder_ / "turbo.vxmap";
    const std::string before = "surge\n10 1.2\n20 2\nend\n";
    const struct {
        bool window; // closed by Escape, else its tab's close box
        QMessageBox::StandardButton answer;
        bool stays;
        bool written;
    } rows[] = {
        {false, QMessageBox::Cancel, true, false},  {false, QMessageBox::Discard, false, false},
        {false, QMessageBox::Save, false, true},    {true, QMessageBox::Cancel, true, false},
        {true, QMessageBox::Discard, false, false}, {true, QMessageBox::Save, false, true},
    };
    for (const auto& row : rows) {
        const std::string name =
            std::string(row.window ? "window, " : "tab, ") + std::to_string(int(row.answer));
        put(file, before);
        ExplorerWindow w;
        runModal(w, [&] {
            compmap::MapView* view = w.maps()->openFile(file);
            ASSERT_TRUE(view) << name;
            auto* unit = view->findChild<QComboBox*>(QStringLiteral("flowUnit"));
            unit->setCurrentIndex(1);
            emit unit->activated(1); // as chosen by the user: kg/s
            const int tab = w.maps()->indexOf(view);
            EXPECT_TRUE(w.maps()->tabText(tab).endsWith('*')) << name;
            EXPECT_TRUE(w.windowTitle().contains('*')) << name;
            QString asked;
            answerNextBox(row.answer, &asked);
            if (row.window)
                pressKey(&w, Qt::Key_Escape);
            else
                emit w.maps()->tabCloseRequested(tab);
            QApplication::processEvents();
            EXPECT_TRUE(asked.contains("turbo.vxmap")) << name << ": " << asked.toStdString();
            EXPECT_EQ(w.isVisible(), !row.window || row.stays) << name;
            if (!row.window) {
                EXPECT_EQ(w.maps()->view(file) != nullptr, row.stays) << name;
            }
            if (row.stays) // set aside unasked, so the window can close
                w.maps()->view(file)->undoStack()->setClean();
        });
        EXPECT_EQ(contents(file) != before, row.written) << name;
        if (row.written) {
            EXPECT_NE(contents(file).find("flow-unit kg/s"), std::string::npos) << name;
        }
    }
}

// A digitizer's CSV is never written over: Save offers a map file beside it holding the unit and
// reference asked when it opened, the candidates then name that file, and they open again with
// the same unit and reference, unasked.
TEST_F(FileFaults, ADigitizerMapIsSavedBesideItWithItsUnitAndReference) {
    const std::string data = "surge,\nX,Y\n0.2,1\n0.3,3\n";
    put(folder_ / "wpd.csv", data);
    auto candidates = explorer::startingCandidates();
    candidates[0].map = "wpd.csv";
    ASSERT_FALSE(explorer::saveCandidates(folder_ / "engines.csv", candidates));
    const QString engines = QFile::decodeName((folder_ / "engines.csv").c_str());
    const auto correctedFlow = [](ExplorerWindow& w) {
        auto* table = w.candidates();
        return fields::parseFloat(
            table->index(0, table->column("corrected-flow")).data().toString().toStdString());
    };
    // 1.41 lb/s = 0.6395652 kg/s at 15 deg. C and 14.7 psi, referred to 298 K and 14.5038 psi:
    // 0.6395652 x sqrt(288 / 298) / (14.7 / 14.5038) = 0.620351 kg/s.
    constexpr double kCorrected = 0.620351;
    {
        ExplorerWindow w;
        runModal(w, [&] {
            whenShown<explorer::DigitizerImportDialog>([](explorer::DigitizerImportDialog& ask) {
                ask.unitBox()->setCurrentText("kg/s");
                typeInto(ask.temperatureBox(), "298");
                typeInto(ask.pressureBox(), "14.5038");
                ask.accept();
            });
            ASSERT_TRUE(w.openFile(engines));
            EXPECT_TRUE(w.windowTitle().contains('*')); // the unit is kept nowhere yet
            ASSERT_TRUE(correctedFlow(w));
            EXPECT_NEAR(*correctedFlow(w), kCorrected, 5e-6);
            compmap::MapView* view = w.maps()->view(folder_ / "wpd.csv");
            ASSERT_TRUE(view);
            w.maps()->setCurrentWidget(view);
            whenShown<QFileDialog>([](QFileDialog& dialog) {
                auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                typeInto(name, QStringLiteral("wpd"));
                pressKey(name, Qt::Key_Return);
            });
            w.action(QStringLiteral("saveMap"))->trigger();
            EXPECT_EQ(w.candidates()->index(0, w.candidates()->column("map")).data(), "wpd.vxmap");
            ASSERT_TRUE(w.saveTo(engines));
            EXPECT_FALSE(w.windowTitle().contains('*'));
        });
    }
    EXPECT_EQ(contents(folder_ / "wpd.csv"), data);
    const std::string saved = contents(folder_ / "wpd.vxmap");
    for (const char* line :
         {"flow-unit kg/s", "reference-temperature 298", "reference-pressure 14.5038"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;

    ExplorerWindow again;
    bool asked = false;
    runModal(again, [&] {
        whenShown<explorer::DigitizerImportDialog>(
            [&](explorer::DigitizerImportDialog& ask) {
                asked = true;
                ask.reject();
            },
            5);
        ASSERT_TRUE(again.openFile(engines));
        QTest::qWait(200);
        EXPECT_FALSE(asked);
        ASSERT_TRUE(correctedFlow(again));
        EXPECT_NEAR(*correctedFlow(again), kCorrected, 5e-6);
    });
}

} // namespace

namespace {

// Save Map of the demonstration map into a folder that already holds a file, or a link to a
// private file, of the picture's name: neither changes content or mode; the picture goes under
// a free name, found again on the next save.
TEST_F(FileFaults, SavingTheDemonstrationMapChangesNoOtherFile) {
    const auto outside = folder_ / "outside";
    fs::create_directory(outside);
    const auto secret = outside / "secret.png";
    put(secret, "private");
    ::chmod(secret.c_str(), 0600);
    for (const bool link : {false, true}) {
        const auto here = folder_ / (link ? "linked" : "plain");
        fs::create_directory(here);
        if (link)
            fs::create_symlink(secret, here / "demo-compressor.png");
        else
            put(here / "demo-compressor.png", "someone's picture");
        for (int save = 0; save < 2; ++save) { // the second from a fresh window finds the copy
            ExplorerWindow w;
            runModal(w, [&] {
                QString problem;
                EXPECT_TRUE(w.maps()->openDemo()->saveMap(
                    QFile::decodeName((here / "mine.vxmap").c_str()), &problem))
                    << problem.toStdString();
            });
        }
        struct stat st {};
        ::stat(secret.c_str(), &st);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << link;
        EXPECT_EQ(contents(secret), "private");
        if (!link) {
            EXPECT_EQ(contents(here / "demo-compressor.png"), "someone's picture");
        }
        EXPECT_NE(contents(here / "mine.vxmap").find("picture demo-compressor-2.png\n"),
                  std::string::npos);
        EXPECT_TRUE(contents(here / "demo-compressor-2.png").starts_with("\x89PNG"));
        EXPECT_FALSE(fs::exists(here / "demo-compressor-3.png")) << "saved twice: one copy";
    }
}

// Save As into another folder rewrites the map and run-log names; undoing past it and saving
// again must still write names that find the files.
TEST_F(FileFaults, UndoAfterSaveAsKeepsTheLinksValid) {
    const auto first = folder_ / "a";
    const auto second = folder_ / "b" / "deeper";
    fs::create_directories(first);
    fs::create_directories(second);
    put(first / "turbo.vxmap", "surge\n10 1.2\n20 2\nend\n");
    put(first / "design.csv", "name,p2,map\nA,30,turbo.vxmap\n");
    ExplorerWindow w;
    runModal(w, [&] {
        ASSERT_TRUE(w.openFile(QFile::decodeName((first / "design.csv").c_str())));
        auto* model = w.candidates();
        model->setData(model->index(0, model->column("p2")), QStringLiteral("20"), Qt::EditRole);
        const QString moved = QFile::decodeName((second / "design.csv").c_str());
        ASSERT_TRUE(w.saveTo(moved));
        for (const auto step : {+1, -1, 0}) { // undo, redo, then undo once more, each saved
            if (step > 0)
                w.undoStack()->undo();
            else if (step < 0)
                w.undoStack()->redo();
            else
                w.undoStack()->undo();
            ASSERT_TRUE(w.saveTo(moved));
            const auto read = explorer::loadCandidates(second / "design.csv");
            ASSERT_FALSE(read.error);
            ASSERT_EQ(read.candidates.size(), 1u);
            EXPECT_EQ(read.candidates[0].map, "../../a/turbo.vxmap") << step;
            EXPECT_TRUE(fs::exists(second / read.candidates[0].map)) << step;
        }
    });
}

// The longest name the file system takes (255 bytes) is saved in place: the temporary file
// beside it must fit the same limit.
TEST_F(FileFaults, TheLongestNameIsSavedInPlace) {
    const auto file = folder_ / (std::string(251, 'n') + ".csv");
    ExplorerWindow w;
    runModal(w, [&] {
        bool written = false;
        const auto seen = told([&] { return w.saveTo(QFile::decodeName(file.c_str())); }, written);
        EXPECT_TRUE(written) << seen.join(' ').toStdString();
        EXPECT_TRUE(contents(file).starts_with("name,"));
        EXPECT_TRUE(onlyExpectedFiles({file.filename().string()}));
    });
}

} // namespace
