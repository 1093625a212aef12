// Reading a data-set file (*.dsf): a count n, then n records of three items
// (an ignored label, x, y).
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/capacities.h"

namespace tarvel {

struct DataSet {
    int count = 0;
    std::vector<double> x;
    std::vector<double> y;
    // Something other than blanks and line ends follows the last record
    // (only known of a file read to its end).
    bool itemsAfterLastRecord = false;
};

// Why a file was refused.
enum class DataSetFault {
    Unreadable,      // cannot be opened or read (the system's reason in `item`)
    Cancelled,       // the user gave up waiting
    Missing,         // no such file (any more)
    NotAFile,        // a directory, a device, ...
    TooLarge,        // larger than any data set can be
    Utf16,           // a UTF-16 text file
    Empty,           // no item at all
    BadCount,        // the count is not a whole number from 0 to 1001
    FileEnds,        // the file ends before every announced record is complete
    EmptyItem,       // an x or y item holds nothing
    NotANumber,      // an x or y item is not a number
    QuotedNumber,    // an x or y item is a quoted text
    NumberTooLarge,  // an x or y item is beyond the largest double
    QuoteNotClosed,  // a quoted item runs to the end of the file
    TextAfterQuote,  // a quoted item is followed by more text before its separator
};

// Which item of the file a fault was found in.
enum class ItemRole { Count, Label, X, Y };

struct DataSetFailure {
    DataSetFault fault = DataSetFault::Unreadable;
    int line = 0;      // from 1; 0 when the fault concerns the file as a whole
    std::string item;  // the offending item as written (or the system's reason)
    ItemRole role = ItemRole::Count;
    int point = -1;     // the record (given point, from 0) being read, -1 for the count
    int announced = 0;  // the count, once it was read
};

// The outcome of a load: the data set, or why there is none. A default
// outcome is a file that could not be read.
struct DataSetRead {
    std::optional<DataSet> set;
    DataSetFailure failure;
};

// Parses the whole text (bytes as read from the file). A UTF-8 byte-order
// mark before the count is skipped. Items are separated by commas or line
// ends (LF, CRLF or CR) in any mix; blanks and line ends before an item are
// skipped; an item in double quotes may hold commas. Numbers use the period
// as decimal point and may carry a sign and an exponent. Anything after the
// last record is ignored (and noted). There is a data set only when the
// count is a whole number from 0 to 1001, every record is complete and
// every x and y is a finite number; otherwise the failure says which line
// and item are at fault.
DataSetRead parseDataSet(std::string_view text);

// parseDataSet for bytes that arrive piece by piece, as from a pipe.
class DataSetStreamParser {
public:
    DataSetStreamParser();
    ~DataSetStreamParser();
    DataSetStreamParser(const DataSetStreamParser&) = delete;
    DataSetStreamParser& operator=(const DataSetStreamParser&) = delete;

    // `text` holds every byte that has arrived so far: each call passes a
    // longer text that begins as the last one did; `ended` when no byte will
    // follow. Returns the outcome as soon as no later byte can change it:
    // the data set once its last record is complete (what follows is not
    // looked at), or the failure; nothing while it can. With `ended` there
    // is always an outcome. It is the outcome parseDataSet gives for the
    // whole text, but for the note on items after the last record. Each
    // byte is looked at about once, however the text is cut into pieces.
    std::optional<DataSetRead> parse(std::string_view text, bool ended);

private:
    class Parser;
    std::unique_ptr<Parser> parser_;
};

// Reads and parses a regular file or a named pipe. On POSIX systems the
// path is made of the file system's own bytes, whatever their encoding. A
// pipe is read up to the last record and no further. May block as long as
// the file system does, so the window calls it away from its user-interface
// thread; once `cancelled` is set it ends soon (at once while it waits on a
// pipe) with the fault Cancelled, having handed over nothing it read.
DataSetRead readDataSetFile(const std::filesystem::path& path, const std::atomic<bool>& cancelled);
DataSetRead readDataSetFile(const std::filesystem::path& path);

// The reason in plain words, for the status line, starting with the line
// when there is one: "line 4: 'abc' is not a number (the y of point 2)".
std::string describeFailure(const DataSetFailure& failure);

}  // namespace tarvel
