// The program's texts are UTF-8; Qt's are UTF-16.
#pragma once

#include <QString>

#include <string_view>

namespace tarvel::ui {

inline QString qstr(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace tarvel::ui
