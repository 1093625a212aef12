// Writing a file the user asked for in a save dialog: written whole to a
// temporary file beside the target and renamed over it only when every byte
// has reached the disk, so a failure (no permission, disk full, folder gone)
// leaves any earlier file as it was.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QIODevice;
class QImage;
class QWidget;

namespace tarvel::ui {

// Writes what `write` puts into the device (false from it: the writing
// failed) to fileName. The reason of a failure, empty on success. A target
// that exists but is not a regular file (a device, a named pipe, a folder)
// is refused, since renaming over it would replace it.
QString saveWhole(const QString& fileName, const std::function<bool(QIODevice&)>& write);
QString saveWhole(const QString& fileName, const QByteArray& bytes);

// The most pixels a saved PNG may have: painting one takes seconds and
// 4 bytes a pixel.
inline constexpr qint64 kMaxPngPixels = 40'000'000;

// Saves the image that `paint` makes, of `pixels`, as a PNG through
// saveWhole. A large one is painted, encoded and written on a worker while a
// modal progress note over `parent` keeps the windows painting and every
// input waiting: `paint` holds what it paints, taken before the call.
QString saveImageAsPng(QWidget* parent, const QString& fileName, const QSize& pixels,
                       const std::function<QImage()>& paint);

// The file's name as a message shows it: control and invisible characters
// written out ("new⟨U+000A⟩line.csv").
QString shownFileName(const QString& fileName);

// "values.csv was not saved: <reason>. Any earlier file of that name is
// unchanged."
QString notSavedText(const QString& fileName, const QString& reason);

// Keeps Qt's file dialogs from storing their history, sizes and last folder
// in the user's QtProject.conf: the program writes only files the user asks
// for. Call once, after the QApplication exists.
void keepFileDialogsFromSavingState();

// Asks for a file name to save under, with the given name filters ("PNG
// image (*.png)"); the dialog asks before replacing a file. Empty when the
// user cancelled. The dialog opens in the folder last chosen for a file of
// the suggested name's kind (its suffix) in this session, at first in the
// working folder.
QString askSaveFileName(QWidget* parent, const QString& title, const QString& suggestedName,
                        const QString& filters);
// Where that dialog starts for a suggested name.
QString saveDialogStart(const QString& suggestedName);

}  // namespace tarvel::ui
