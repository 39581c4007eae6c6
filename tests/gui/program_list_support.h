#pragma once
// The main window connected to a simulated multiplexer (names can be entered
// only while connected), with what the program list, project file and "Get"
// tests read off it: list entries, stored names, the content buttons.

#include <QAbstractButton>
#include <QFileDialog>
#include <QListWidget>
#include <QRadioButton>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "main_window_support.h"

namespace kv::test {

class ConnectedWindowTest : public MainWindowTest {
  protected:
    // The window is created first: its creation empties the store's counts,
    // so a test fills the store after this.
    void SetUp() override {
        MainWindowTest::SetUp();
        Build();
    }

    // A fresh window, store and simulator, for the next case of a table.
    void Restart() {
        TearDown();
        SetUp();
    }

    QListWidget* List() { return Control<QListWidget>("lst_Prog"); }

    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < List()->count(); ++i) entries.append(List()->item(i)->text());
        return entries;
    }

    // Selects entry `row` with a click, as the operator does.
    void ClickEntry(int row) {
        Activate(&Build());
        QListWidget* list = List();
        const QRect place = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }

    QList<int> SelectedRows() {
        QList<int> rows;
        for (QListWidgetItem* item : List()->selectedItems()) rows.append(List()->row(item));
        return rows;
    }

    // Types into the name box, replacing its text.
    void TypeName(const QString& text) {
        QLineEdit* box = Box("txt_NameProg");
        Activate(&Build());
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }

    void PressAdd() { Control<QAbstractButton>("bt_Add")->click(); }
    void AddNames(const QStringList& names) {
        for (const QString& name : names) {
            TypeName(name);
            PressAdd();
        }
    }

    std::vector<std::string> StoredNames() {
        const ServiceBlock& sb = TestApp().Store.Svc;
        std::vector<std::string> names;
        for (int i = 0; i < sb.SvcCount; ++i) names.emplace_back(sb.SvcInfo[i].Name);
        return names;
    }

    // Which of "Edit", "Delete", "Clear", "Save", "Send Mux" are enabled.
    QStringList ContentButtonsOn() {
        QStringList on;
        for (const char* name : {"bt_Edit", "bt_Delete", "bt_Clear", "bt_Save", "bt_Send"})
            if (Control(name)->isEnabled()) on.append(QString::fromLatin1(name));
        return on;
    }

    bool PackShown() { return Control<QRadioButton>("rdg_ModePack")->isChecked(); }
};

// Answers the next file dialog with `path` (Cancel when empty) and records
// how the dialog was set up.
struct FileDialogSeen {
    QString objectName;
    QString nameFilter;
    QString defaultSuffix;
    bool native = true;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
};

inline void AnswerFileDialog(const QString& path, FileDialogSeen* seen = nullptr) {
    WhenModal<QFileDialog>([path, seen](QFileDialog* dialog) {
        if (seen) {
            seen->objectName = dialog->objectName();
            seen->nameFilter = dialog->nameFilters().join(";;");
            seen->defaultSuffix = dialog->defaultSuffix();
            seen->native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            seen->mode = dialog->acceptMode();
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // as "Open" / "Save" in the dialog does
    });
}

} // namespace kv::test
