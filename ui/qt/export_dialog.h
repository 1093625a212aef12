// The export dialog of a plot: format, size in pixels or centimetres with a
// resolution and presets, font size, line width, title, captions and legend
// on or off, and a live preview. The last settings hold for the session.
#pragma once

#include <QDialog>

#include "ui/qt/plot_export.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace tarvel::ui {

class PlotView;

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    ExportDialog(const PlotView& plot, QWidget* parent);

    const ExportSettings& settings() const { return settings_; }
    // Writes the file with the settings shown and keeps them for the next
    // dialog; the reason of a failure, empty on success.
    QString exportTo(const QString& fileName);

signals:
    // A file was written ("Exported figure.pdf.") or not, and why.
    void exported(const QString& sentence);

private:
    void showSettings();
    void takeSettings();
    void applyPreset(int index);
    void updatePreview();
    void chooseFileAndExport();

    const PlotView& plot_;
    ExportSettings settings_;
    QComboBox* format_ = nullptr;
    QComboBox* preset_ = nullptr;
    QComboBox* unit_ = nullptr;
    QDoubleSpinBox* width_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QSpinBox* dpi_ = nullptr;
    QDoubleSpinBox* font_ = nullptr;
    QDoubleSpinBox* lineScale_ = nullptr;
    QCheckBox* title_ = nullptr;
    QCheckBox* captions_ = nullptr;
    QCheckBox* legend_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* sizeNote_ = nullptr;
};

}  // namespace tarvel::ui
