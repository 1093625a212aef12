// Loading a data-set file picked in the file list.
//
// The click only starts the read: the file is read and checked away from
// the user-interface thread, and finishLoad stores the points once the whole
// file has been read and found sound. Until then OK, Calculate and another
// file click are refused, so nothing runs between a half-done load and its
// end.
#include <memory>

#include "app/form_tarvel.h"
#include "app/window_words.h"
#include "data/dsf_reader.h"
#include "data/list_format.h"
#include "data/printable_text.h"
#include "interp/method_checks.h"
#include "ui/file_system.h"

namespace tarvel {
bool Form_Tarvel::refuseWhileReading()
{
    if (!c_.fileReader.busy())
        return false;
    c_.fileReader.showBusy(kReadingBusy);
    return true;
}

// Said after a load that stored nothing, when there are points to keep.
std::string Form_Tarvel::keptNote() const
{
    return existingPoints_ > 0 ? kKeptNote : "";
}

Form_Tarvel::GivenPointsOrigin Form_Tarvel::givenPointsOrigin() const
{
    return {existingPoints_, givenSource_ == TestSource::DataSet, dataSetName_};
}

void Form_Tarvel::File1_Click()
{
    const std::string name = c_.File1.fileName();
    const std::string fullName = name.empty() ? std::string() : ui::joinPath(c_.File1.path(), name);
    if (c_.fileReader.busy()) {
        // A double click on the file being read asks for nothing new; the
        // mark stays on the file being read either way.
        c_.File1.markReading(readingFile_);
        if (fullName != readingFile_)
            refuseWhileReading();
        return;
    }
    if (name.empty()) {
        refuseLoad(kNoFileSelected);
        return;
    }
    readingFile_ = fullName;
    c_.File1.markReading(fullName);
    // The read owns its result: a read the user gave up on may still be
    // running when the window has moved on, or is gone.
    auto read = std::make_shared<DataSetRead>();
    const std::filesystem::path path = ui::nativePath(fullName);
    const std::string shownName = isolatedText(name);
    c_.fileReader.start(
        shownName,
        [read, path](const std::atomic<bool>& cancelled) {
            *read = readDataSetFile(path, cancelled);
        },
        [this, read, shownName](ui::FileReader::Outcome outcome) {
            readingFile_.clear();
            c_.File1.markReading({});
            // The user's own choice: no error, nothing to explain.
            if (outcome == ui::FileReader::Outcome::Cancelled) {
                c_.statusLine.show(cancelledLoadSentence(shownName) + keptNote());
                return;
            }
            finishLoad(shownName, *read);
        });
}

// A load that stores nothing: the status line says why, the former given
// points stay.
void Form_Tarvel::refuseLoad(const std::string& why)
{
    c_.statusLine.show(why + keptNote());
    showMessage(kLoadFailedCaption, why + keptNote());
}

void Form_Tarvel::finishLoad(const std::string& shownName, const DataSetRead& read)
{
    if (!read.set) {
        // The file may have vanished or changed since it was listed.
        c_.File1.setPath(c_.File1.path());
        refuseLoad(failedLoadSentence(shownName, read.failure));
        return;
    }
    const DataSet& data = *read.set;
    nU = data.count;
    c_.Text_nU.setText(formatIndex(nU));
    lastU = nU - 1;
    for (int i = 0; i < data.count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        xU[at] = data.x[at];
        yU[at] = data.y[at];
    }
    existingPoints_ = data.count;
    givenSource_ = TestSource::DataSet;
    dataSetName_ = shownName;
    c_.Frame_DataSet.setVisible(false);
    c_.statusLine.show(loadedSentence(shownName, data, checkOrder(lastU, xU), decimalSeparator_));
}

}  // namespace tarvel
