// The sections of a path, found one at a time as the caller steps through them,
// so that a walk along a path needs no list of its sections. Sections are the
// texts between full stops (brackets do not protect a full stop); an empty text
// has one, empty, section.
//
//     for (std::string_view section : Sections_Of(path)) ...
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace Ostrel::Zam::tstore {

class Sections_Of {
  public:
    explicit Sections_Of(std::string_view path) : path_(path) {}

    class Iterator {
      public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        explicit Iterator(std::string_view path) : path_(path), stop_(path.find('.')) {}

        std::string_view operator*() const { return path_.substr(start_, stop_ - start_); }
        Iterator &operator++() {
            if (stop_ == std::string_view::npos) {
                start_ = std::string_view::npos;
            } else {
                start_ = stop_ + 1;
                stop_ = path_.find('.', start_);
            }
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(std::default_sentinel_t) const { return start_ == std::string_view::npos; }

        // Whether the current section is the path's last.
        bool Last() const { return stop_ == std::string_view::npos; }
        // The offset in the path just past the current section.
        size_t End() const { return Last() ? path_.size() : stop_; }

      private:
        std::string_view path_;
        size_t start_ = 0;
        size_t stop_ = std::string_view::npos;
    };

    Iterator begin() const { return Iterator(path_); }
    std::default_sentinel_t end() const { return {}; }

  private:
    std::string_view path_;
};

}  // namespace Ostrel::Zam::tstore
