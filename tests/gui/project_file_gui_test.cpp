// "Open" and "Save" of the main window: the dialogs, the bytes a save
// writes, the window an opened file leaves, and files that are refused.

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "model/project_file.h"
#include "ops/multiplex_description.h"
#include "program_list_support.h"
#include "tables/image_writer.h"

namespace kv::test {
namespace {

constexpr std::size_t ProjectSize = 13880;

int64_t LittleEndianAt(const std::vector<uint8_t>& bytes, std::size_t at, int size) {
    uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
    return static_cast<int64_t>(value);
}

class ProjectFiles : public ConnectedWindowTest {
  protected:
    std::string FileInFolder(const char* name) const { return folder_ + "Config/" + name; }

    // Saves through dlg_Save; the boxes the save shows.
    BoxAnswerer* Save(const std::string& path, FileDialogSeen* seen = nullptr) {
        boxes_ = std::make_unique<BoxAnswerer>();
        AnswerFileDialog(QString::fromStdString(path), seen);
        Control<QAbstractButton>("bt_Save")->click();
        return boxes_.get();
    }
    BoxAnswerer* Open(const std::string& path, FileDialogSeen* seen = nullptr) {
        boxes_ = std::make_unique<BoxAnswerer>();
        AnswerFileDialog(QString::fromStdString(path), seen);
        Control<QAbstractButton>("bt_Open")->click();
        QCoreApplication::processEvents(); // a warning of the bit-rate exit comes queued
        return boxes_.get();
    }

    // What the window shows, to see that a refused file changed none of it.
    struct Shown {
        QStringList entries;
        QStringList boxes;
        QStringList buttonsOn;
        bool operator==(const Shown&) const = default;
    };
    Shown WindowNow() {
        QStringList texts;
        for (const char* box : {"txt_NetName", "txt_BitRate", "txt_TSID", "txt_NameProg"})
            texts.append(Box(box)->text());
        return {Entries(), texts, ContentButtonsOn()};
    }

    std::unique_ptr<BoxAnswerer> boxes_;
};

// Three services, TSID 4660 and the bit rate typed into the boxes: the file
// is the store's 13880 bytes with the typed values in place.
TEST_F(ProjectFiles, SaveWritesTheStoreWithTheTypedTsidAndBitRate) {
    FillServices(TestApp().Store, {"NEWS", "SPORT", "MOVIES"});
    Connect();
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    Box("txt_BitRate")->setText("27000000"); // typed, the box not left
    const std::string path = FileInFolder("three.mux");
    FileDialogSeen seen;
    BoxAnswerer* boxes = Save(path, &seen);

    EXPECT_EQ(seen.objectName, "dlg_Save");
    EXPECT_EQ(seen.nameFilter, "Project files (*.MUX);;Descriptions (*.json)");
    EXPECT_EQ(seen.defaultSuffix, "mux");
    EXPECT_FALSE(seen.native);
    EXPECT_EQ(seen.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(boxes->Texts(), QStringList({"File save successful!"}));
    EXPECT_EQ(boxes->Icons(), QList<QMessageBox::Icon>({QMessageBox::Warning}));

    const std::vector<uint8_t> file = ReadFile(path);
    ASSERT_EQ(file.size(), ProjectSize);
    EXPECT_EQ(LittleEndianAt(file, 342, 2), 3);
    EXPECT_EQ(file[344], 0x34);
    EXPECT_EQ(file[345], 0x12);
    EXPECT_EQ(LittleEndianAt(file, 3328, 8), 27000000);
    EXPECT_EQ(file, BytesOf(TestApp().Store)); // the store took the boxes' values too
}

// "Send Mux" and Save take the network-name box, trimmed, as they take the
// TSID and the bit rate; the services keep the provider the editor stored.
TEST_F(ProjectFiles, SendMuxAndSaveTakeTheNetworkNameBox) {
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    auto contains = [](const std::vector<uint8_t>& bytes, const std::string& text) {
        return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
    };
    Enter(Box("txt_NetName"), " NET2 ", Box("txt_TSID"));
    {
        BoxAnswerer boxes;
        Control<QAbstractButton>("bt_Send")->click();
        ASSERT_EQ(boxes.Texts(), QStringList({"Process successful!"}));
    }
    EXPECT_STREQ(TestApp().Store.Svc.NetName, "NET2");
    EXPECT_STREQ(TestApp().Store.Svc.SvcInfo[0].Provider, "BRIMCO NET");
    EXPECT_TRUE(contains(ReadFile(TestApp().ImageFile), "NET2"));

    Enter(Box("txt_NetName"), "NET3", Box("txt_TSID"));
    Save(FileInFolder("named.mux"));
    EXPECT_STREQ(TestApp().Store.Svc.NetName, "NET3");
    EXPECT_TRUE(contains(ReadFile(FileInFolder("named.mux")), "NET3"));
}

// The default suffix completes a name typed without one.
TEST_F(ProjectFiles, SaveAddsTheDefaultSuffix) {
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    Save(FileInFolder("plain"));
    EXPECT_EQ(ReadFile(FileInFolder("plain.mux")).size(), ProjectSize);
}

// The TSID box holds four typed digits, but a TSID of 40000 from a file is
// shown whole and saved back whole.
TEST_F(ProjectFiles, OpenedTsidBeyondFourDigitsSavesBackWhole) {
    auto saved = std::make_unique<ConfigStore>();
    FillServices(*saved, {"NEWS"});
    saved->Svc.TsId = 40000;
    ASSERT_EQ(WriteProjectFile(FileInFolder("wide.mux"), *saved), ProjectFileStatus::Ok);
    Connect();
    ASSERT_TRUE(Open(FileInFolder("wide.mux"))->Texts().isEmpty());
    EXPECT_EQ(Box("txt_TSID")->text(), "40000");
    Save(FileInFolder("again.mux"));
    const std::vector<uint8_t> file = ReadFile(FileInFolder("again.mux"));
    ASSERT_EQ(file.size(), ProjectSize);
    EXPECT_EQ(LittleEndianAt(file, 344, 2), 40000);
}

// A file that cannot be created, or that does not take every byte, is no
// saved project: "Error at Save.", never the success message.
TEST_F(ProjectFiles, SaveThatFailsSaysErrorAtSave) {
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    TestApp().Store.Svc.TsId = 7;
    const std::string full = FileInFolder("full.mux"); // every write fails: no space left
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    struct Case {
        std::string path;
        uint16_t tsIdAfter; // a file that could not be created leaves the store
    };
    const Case cases[] = {{FileInFolder("no folder/x.mux"), 7}, {full, 4660}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        BoxAnswerer* boxes = Save(c.path);
        EXPECT_EQ(boxes->Texts(), QStringList({"Error at Save."}));
        EXPECT_EQ(boxes->Icons(), QList<QMessageBox::Icon>({QMessageBox::Critical}));
        EXPECT_EQ(TestApp().Store.Svc.TsId, c.tsIdAfter);
    }
}

TEST_F(ProjectFiles, CancelledDialogsChangeNothing) {
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    const std::vector<uint8_t> store = BytesOf(TestApp().Store);
    const Shown before = WindowNow();
    FileDialogSeen seen;
    EXPECT_TRUE(Save("")->Texts().isEmpty());
    EXPECT_TRUE(Open("", &seen)->Texts().isEmpty());
    EXPECT_EQ(seen.objectName, "dlg_Open");
    EXPECT_EQ(seen.nameFilter, "Project files (*.MUX);;Descriptions (*.json)");
    EXPECT_EQ(seen.defaultSuffix, "mux");
    EXPECT_FALSE(seen.native);
    EXPECT_EQ(seen.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(BytesOf(TestApp().Store), store);
    EXPECT_EQ(WindowNow(), before);
}

// Opening refills the window from the file; the bit-rate exit then runs for
// the mode the window shows (not restored from the file).
TEST_F(ProjectFiles, OpenFillsTheWindowByWhatTheFileHolds) {
    struct Case {
        const char* what;
        int services; // NEWS, SPORT, ... in slot order
        int ghosts;
        QStringList boxes; // network name, bit rate, TSID
        QStringList entries;
        QStringList buttonsOn;
    };
    const Case cases[] = {
        {"services",
         3,
         2,
         {"BRIMCO NET", "38001122", "4660"},
         {"NEWS", "SPORT", "MOVIES"},
         {"bt_Edit", "bt_Delete", "bt_Clear", "bt_Save", "bt_Send"}},
        {"ghost entries only", 0, 2, {"BRIMCO NET", "27000000", ""}, {}, {"bt_Save", "bt_Send"}},
        {"neither", 0, 0, {"", "", ""}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The file: written by the core from a store of its own.
        auto saved = std::make_unique<ConfigStore>();
        FillServices(*saved, {"NEWS", "SPORT", "MOVIES"});
        saved->Svc.SvcCount = static_cast<int16_t>(c.services);
        saved->Svc.TsId = 4660;
        saved->Svc.BitRate = 38000000;
        saved->Ghost.GhostCount = static_cast<int16_t>(c.ghosts);
        for (int j = 0; j < c.ghosts; ++j) {
            saved->Ghost.GhostInput[j] = 2;
            saved->Ghost.GhostPidIn[j] = saved->Ghost.GhostPidOut[j] = static_cast<int16_t>(1000 + j);
        }
        saved->Ghost.GhostBitRate = 27000000;
        const std::string path = FileInFolder("project.mux");
        ASSERT_EQ(WriteProjectFile(path, *saved), ProjectFileStatus::Ok);

        // The window before: another description, in Pack mode.
        FillServices(TestApp().Store, {"OLD"});
        Connect();
        Enter(Box("txt_TSID"), "99", Box("txt_NetName"));
        TypeName("KIDS");
        Control<QRadioButton>("rdg_ModePack")->click();

        BoxAnswerer* boxes = Open(path);
        EXPECT_TRUE(boxes->Texts().isEmpty()) << boxes->Texts().join("|").toStdString();
        EXPECT_EQ(WindowNow().boxes, c.boxes + QStringList({"KIDS"}));
        EXPECT_EQ(Entries(), c.entries);
        EXPECT_EQ(ContentButtonsOn(), c.buttonsOn);
        EXPECT_TRUE(PackShown());

        const ConfigStore& store = TestApp().Store;
        EXPECT_EQ(store.Svc.SvcCount, c.services);
        EXPECT_EQ(store.Ghost.GhostCount, c.ghosts);
        if (c.services > 0 || c.ghosts > 0) {
            // The typed rate stays in BitRate; the figures are Pack mode's.
            EXPECT_EQ(store.Svc.BitRate, c.services > 0 ? 38000000 : 27000000);
            EXPECT_EQ(store.Svc.RateStuff, 0);
            EXPECT_EQ(store.Ghost.GhostRateStuff, 0);
        }
        Restart();
    }
}

// Save, then Open: every service field, the subtitle settings and the ghost
// table come back; only the rate figures may be recomputed.
TEST_F(ProjectFiles, SavedProjectOpensAsItWasSaved) {
    ConfigStore& store = TestApp().Store;
    FillServices(store, {"NEWS", "SPORT"});
    DataSlot& subtitles = store.Svc.SvcPids[1].Data[0];
    subtitles.PidIn = 320;
    subtitles.PidOut = 420;
    subtitles.SubEnable = 1;
    SetText(subtitles.SubLang, "por");
    subtitles.SubType = 0x20;
    store.Ghost.GhostCount = 1;
    store.Ghost.GhostInput[0] = 3;
    store.Ghost.GhostPidIn[0] = 700;
    store.Ghost.GhostPidOut[0] = 701;
    Connect();
    Enter(Box("txt_TSID"), "4660", Box("txt_BitRate"));
    Enter(Box("txt_BitRate"), "38000000", Box("txt_NetName"));
    const std::string path = FileInFolder("round.mux");
    ASSERT_EQ(Save(path)->Texts(), QStringList({"File save successful!"}));
    auto saved = std::make_unique<ConfigStore>(store);

    store = ConfigStore{};
    ASSERT_TRUE(Open(path)->Texts().isEmpty());
    EXPECT_EQ(Entries(), QStringList({"NEWS", "SPORT"}));
    // Saved: the shown rate as BitRate, the typed one as GhostBitRate; the
    // bit-rate exit after Open makes both the shown rate.
    EXPECT_EQ(saved->Ghost.GhostBitRate, 38000000);
    EXPECT_EQ(store.Ghost.GhostBitRate, 38001122);
    saved->Ghost.GhostBitRate = store.Ghost.GhostBitRate;
    EXPECT_EQ(BytesOf(store), BytesOf(*saved));
}

// Files that are refused leave the store and the window as they were.
TEST_F(ProjectFiles, RefusedFilesChangeNeitherStoreNorWindow) {
    auto tooMany = std::make_unique<ConfigStore>();
    tooMany->Svc.SvcCount = 101;
    const std::vector<uint8_t> countOutOfRange = BytesOf(*tooMany);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes; // none: no such file
        bool exists;
        const char* message;
        QMessageBox::Icon icon;
        const char* detail; // why, as the box's detailed text
    };
    const Case cases[] = {
        {"short.mux", std::vector<uint8_t>(100, 0), true, "File corrupted!", QMessageBox::NoIcon,
         "100 bytes, a project file has 13880"},
        {"nothing.mux",
         {},
         true,
         "File corrupted!",
         QMessageBox::NoIcon,
         "0 bytes, a project file has 13880"},
        {"count.mux", countOutOfRange, true, "File corrupted!", QMessageBox::NoIcon,
         "service count 101 out of range 0..100"},
        {"missing.mux", {}, false, "Cannot open input file.", QMessageBox::Critical, ""},
    };
    FillServices(TestApp().Store, {"NEWS", "SPORT"});
    Connect();
    Enter(Box("txt_TSID"), "4660", Box("txt_BitRate"));
    const std::vector<uint8_t> store = BytesOf(TestApp().Store);
    const Shown before = WindowNow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.exists) WriteBytes(FileInFolder(c.name), c.bytes);
        BoxAnswerer* boxes = Open(FileInFolder(c.name));
        EXPECT_EQ(boxes->Texts(), QStringList({c.message}));
        EXPECT_EQ(boxes->Icons(), QList<QMessageBox::Icon>({c.icon}));
        EXPECT_EQ(boxes->Details(), QStringList({c.detail}));
        EXPECT_EQ(BytesOf(TestApp().Store), store);
        EXPECT_EQ(WindowNow(), before);
    }
}

} // namespace
} // namespace kv::test

namespace kv::test {
namespace {

// A description opened, edited and saved as a project file gives the image
// compose gives of the same description with the same edit.
TEST_F(ProjectFiles, DescriptionOpenedEditedAndSavedGivesTheImageComposeGives) {
    std::ifstream example(KV_SOURCE_DIR "/data/examples/tv-bouquet.json");
    nlohmann::ordered_json description = nlohmann::ordered_json::parse(example);
    const std::string path = FileInFolder("bouquet.json");
    std::ofstream(path) << description.dump(2);
    Connect();
    ASSERT_TRUE(Open(path)->Texts().isEmpty());
    EXPECT_EQ(Entries(), QStringList({"NEWS 24", "SPORT HD", "CINEMA", "CITY FM"}));
    Enter(Box("txt_TSID"), "4660", Box("txt_NetName"));
    ASSERT_EQ(Save(FileInFolder("bouquet.mux"))->Texts(), QStringList({"File save successful!"}));

    auto saved = std::make_unique<ConfigStore>();
    ASSERT_EQ(ReadProjectFile(FileInFolder("bouquet.mux"), *saved), ProjectFileStatus::Ok);
    description["transport_stream_id"] = 4660;
    auto composed = std::make_unique<ConfigStore>();
    ASSERT_TRUE(ComposeMultiplex(description, *composed, ComposeForce::None).Taken);
    EXPECT_EQ(BuildConfigImage(*saved, 3), BuildConfigImage(*composed, 3));
}

// A refused description leaves the store and the window, and the message
// box's details name the place of the refusal.
TEST_F(ProjectFiles, RefusedDescriptionNamesThePlaceInTheDetails) {
    FillServices(TestApp().Store, {"NEWS"});
    Connect();
    const std::vector<uint8_t> store = BytesOf(TestApp().Store);
    const Shown before = WindowNow();
    const std::string path = FileInFolder("bad.json");
    std::ofstream(path) << R"({"services": [{"name": "X", "input": 1, "service_id": 1, "pmt_pid": 9000}]})";
    QString text, details;
    AnswerFileDialog(QString::fromStdString(path));
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        details = box->detailedText();
        box->accept();
    });
    Control<QAbstractButton>("bt_Open")->click();
    EXPECT_EQ(text, "File corrupted!");
    EXPECT_TRUE(details.startsWith("services[0].pmt_pid: 9000 is not a PID (32..8190)"))
        << details.toStdString();
    EXPECT_EQ(BytesOf(TestApp().Store), store);
    EXPECT_EQ(WindowNow(), before);
}

} // namespace
} // namespace kv::test
