#include "ui/qt/export_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <array>

#include "ui/qt/file_save.h"
#include "ui/qt/plot_view.h"

namespace tarvel::ui {
namespace {

constexpr QSize kPreviewBox(420, 320);

struct Preset {
    const char* name;
    double widthCm;
    double heightCm;
};
constexpr std::array<Preset, 3> kPresets = {{
    {"4:3 (16 × 12 cm)", 16, 12},
    {"16:9 (16 × 9 cm)", 16, 9},
    {"A4 column (8.5 × 6.4 cm)", 8.5, 6.4},
}};

// The settings of the last export of this session.
ExportSettings& lastSettings()
{
    static ExportSettings settings;
    return settings;
}

QDoubleSpinBox* numberBox(QWidget* parent, const char* name, double lo, double hi, int decimals)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setKeyboardTracking(false);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

}  // namespace

ExportDialog::ExportDialog(const PlotView& plot, QWidget* parent)
    : QDialog(parent), plot_(plot), settings_(lastSettings())
{
    setObjectName("exportDialog");
    setWindowTitle("Export the figure");
    format_ = new QComboBox(this);
    format_->setObjectName("exportFormat");
    for (const ExportFormat format : kExportFormats)
        format_->addItem(exportFilter(format));
    preset_ = new QComboBox(this);
    preset_->setObjectName("exportPreset");
    preset_->addItem("Custom");
    for (const Preset& preset : kPresets)
        preset_->addItem(preset.name);
    unit_ = new QComboBox(this);
    unit_->setObjectName("exportUnit");
    unit_->addItems({"cm", "pixels"});
    width_ = numberBox(this, "exportWidth", 0.1, 20000, 2);
    height_ = numberBox(this, "exportHeight", 0.1, 20000, 2);
    dpi_ = new QSpinBox(this);
    dpi_->setObjectName("exportDpi");
    dpi_->setRange(24, 1200);
    dpi_->setKeyboardTracking(false);
    font_ = numberBox(this, "exportFontSize", 4, 40, 1);
    lineScale_ = numberBox(this, "exportLineWidth", 0.25, 8, 2);
    title_ = checkBox(this, "exportTitle", "&Title");
    captions_ = checkBox(this, "exportCaptions", "&Captions");
    legend_ = checkBox(this, "exportLegend", "&Legend");
    preview_ = new QLabel(this);
    preview_->setObjectName("exportPreview");
    preview_->setMinimumSize(kPreviewBox);
    preview_->setAlignment(Qt::AlignCenter);
    sizeNote_ = new QLabel(this);
    sizeNote_->setObjectName("exportSizeNote");

    auto* form = new QFormLayout;
    form->addRow("&Format:", format_);
    form->addRow("&Preset:", preset_);
    auto* size = new QHBoxLayout;
    size->addWidget(width_);
    size->addWidget(new QLabel("×", this));
    size->addWidget(height_);
    size->addWidget(unit_);
    auto* sizeLabel = new QLabel("&Size:", this);
    sizeLabel->setBuddy(width_);
    form->addRow(sizeLabel, size);
    form->addRow("&Resolution (dpi):", dpi_);
    form->addRow("F&ont size (pt):", font_);
    form->addRow("Line &width (times):", lineScale_);
    auto* shown = new QHBoxLayout;
    shown->addWidget(title_);
    shown->addWidget(captions_);
    shown->addWidget(legend_);
    form->addRow("Show:", shown);
    form->addRow("", sizeNote_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* save = buttons->addButton("&Export…", QDialogButtonBox::AcceptRole);
    save->setObjectName("exportSaveButton");
    auto* columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(preview_, 1);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(columns);
    whole->addWidget(buttons);

    showSettings();
    const auto changed = [this] {
        takeSettings();
        updatePreview();
    };
    connect(format_, &QComboBox::currentIndexChanged, this, changed);
    connect(unit_, &QComboBox::currentIndexChanged, this, changed);
    connect(preset_, &QComboBox::activated, this, &ExportDialog::applyPreset);
    for (QDoubleSpinBox* box : {width_, height_, font_, lineScale_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, changed] {
            preset_->setCurrentIndex(0);
            changed();
        });
    connect(dpi_, &QSpinBox::valueChanged, this, changed);
    for (QCheckBox* box : {title_, captions_, legend_})
        connect(box, &QCheckBox::toggled, this, changed);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &ExportDialog::chooseFileAndExport);
    updatePreview();
}

void ExportDialog::showSettings()
{
    const QSignalBlocker blocks[] = {QSignalBlocker(format_), QSignalBlocker(unit_),
                                     QSignalBlocker(width_),  QSignalBlocker(height_),
                                     QSignalBlocker(dpi_),    QSignalBlocker(font_),
                                     QSignalBlocker(lineScale_), QSignalBlocker(title_),
                                     QSignalBlocker(captions_), QSignalBlocker(legend_)};
    format_->setCurrentIndex(static_cast<int>(settings_.format));
    unit_->setCurrentIndex(settings_.centimetres ? 0 : 1);
    width_->setValue(settings_.width);
    height_->setValue(settings_.height);
    dpi_->setValue(settings_.dpi);
    font_->setValue(settings_.fontPt);
    lineScale_->setValue(settings_.lineScale);
    title_->setChecked(settings_.title);
    captions_->setChecked(settings_.captions);
    legend_->setChecked(settings_.legend);
}

void ExportDialog::takeSettings()
{
    settings_.format = kExportFormats[static_cast<std::size_t>(format_->currentIndex())];
    settings_.centimetres = unit_->currentIndex() == 0;
    settings_.width = width_->value();
    settings_.height = height_->value();
    settings_.dpi = dpi_->value();
    settings_.fontPt = font_->value();
    settings_.lineScale = lineScale_->value();
    settings_.title = title_->isChecked();
    settings_.captions = captions_->isChecked();
    settings_.legend = legend_->isChecked();
}

void ExportDialog::applyPreset(int index)
{
    if (index < 1)
        return;
    const Preset& preset = kPresets[static_cast<std::size_t>(index - 1)];
    settings_.centimetres = true;
    settings_.width = preset.widthCm;
    settings_.height = preset.heightCm;
    showSettings();
    updatePreview();
}

void ExportDialog::updatePreview()
{
    preview_->setPixmap(QPixmap::fromImage(exportPreview(plot_, settings_, kPreviewBox)));
    const QSize pixels = exportPixels(settings_);
    const QSizeF cm = exportCentimetres(settings_);
    sizeNote_->setText(QStringLiteral("%1 × %2 cm; a PNG of %3 × %4 pixels")
                           .arg(cm.width(), 0, 'f', 2)
                           .arg(cm.height(), 0, 'f', 2)
                           .arg(pixels.width())
                           .arg(pixels.height()));
}

QString ExportDialog::exportTo(const QString& fileName)
{
    lastSettings() = settings_;
    return exportPlot(plot_, settings_, fileName);
}

void ExportDialog::chooseFileAndExport()
{
    const QString path = askSaveFileName(this, windowTitle(), "figure." + exportSuffix(settings_.format),
                                         exportFilter(settings_.format));
    if (path.isEmpty())
        return;
    const QString why = exportTo(path);
    if (!why.isEmpty()) {
        const QString text = notSavedText(path, why);
        emit exported(text);
        QMessageBox::warning(this, windowTitle(), text);
        return;
    }
    emit exported(QStringLiteral("Exported %1.").arg(shownFileName(path)));
    accept();
}

}  // namespace tarvel::ui
