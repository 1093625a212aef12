// The lines of a list, packed one after the other into one buffer.
//
// A list grows by hundreds of lines per command and may reach a million;
// one buffer and one array of line ends take two allocations that grow
// geometrically, where a string per line would take one allocation each.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::ui {

class PackedLines {
public:
    // Reads the lines in order; each line is a view into the buffer, valid
    // until the next append or clear.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const PackedLines* lines, std::size_t index) : lines_(lines), index_(index)
        {
        }
        std::string_view operator*() const { return (*lines_)[index_]; }
        const_iterator& operator++()
        {
            ++index_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const PackedLines* lines_ = nullptr;
        std::size_t index_ = 0;
    };

    void append(std::string_view line)
    {
        text_.append(line);
        ends_.push_back(text_.size());
    }

    // Keeps the memory, as a container's clear() does; assign a new
    // PackedLines to give it back.
    void clear()
    {
        text_.clear();
        ends_.clear();
    }

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }

    std::string_view operator[](std::size_t index) const
    {
        const std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(text_).substr(start, ends_[index] - start);
    }
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    bool operator==(const PackedLines& other) const = default;

private:
    std::string text_;
    std::vector<std::size_t> ends_;  // where each line ends in text_
};

}  // namespace tarvel::ui
