#pragma once
// "Captures..." of the multiplex map: a capture file for each input the
// multiplex is to be checked against, or none.

#include <QDialog>
#include <array>

#include "model/config_store.h"

class QLineEdit;

namespace kv::ui {

class Tfrm_InputCaptures : public QDialog {
    Q_OBJECT
  public:
    // `paths`: the files attached so far, "" for none; `startFolder`: where
    // the file dialog starts when it exists.
    Tfrm_InputCaptures(const std::array<QString, InputCount>& paths, QString startFolder,
                       QWidget* parent = nullptr);

    std::array<QString, InputCount> Paths() const;

  private:
    void ChooseFile(int input);

    QString startFolder_;
    std::array<QLineEdit*, InputCount> txt_CaptureIn{}; // txt_CaptureIn1 .. txt_CaptureIn8
};

} // namespace kv::ui
