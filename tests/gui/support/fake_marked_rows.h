#pragma once
// The list page's marks as the small dialogs see them, with every call written down.
#include "manager/ui/marked_rows.h"

#include <QCursor>
#include <QGuiApplication>

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zw::testing {

class FakeMarkedRows : public MarkedRows {
public:
    explicit FakeMarkedRows(std::size_t entries) : entries_(entries) {}

    std::set<std::size_t> marked;
    std::vector<std::string> calls; // "unmark all", "mark 3", "mark 0 2", "status"
    // The pointer's shape at each call, or -1 for the normal one.
    std::vector<int> pointers;
    // Runs at unmarkAll(), before anything is changed (a test may throw from it).
    std::function<void()> beforeUnmarkAll;

    void unmarkAll() override
    {
        note("unmark all");
        if (beforeUnmarkAll)
            beforeUnmarkAll();
        marked.clear();
    }
    void markEntries(const std::vector<std::size_t>& entries) override
    {
        std::string call = "mark";
        for (std::size_t e : entries) {
            call += ' ';
            call += std::to_string(e);
            if (e < entries_)
                marked.insert(e);
        }
        note(call);
    }
    void markEntry(std::size_t entry) override
    {
        std::string call = "mark ";
        call += std::to_string(entry);
        note(std::move(call));
        if (entry < entries_)
            marked.insert(entry);
    }
    std::vector<std::size_t> markedEntries() const override { return {marked.begin(), marked.end()}; }
    void updateCommands() override { note("status"); }

private:
    void note(std::string call)
    {
        calls.push_back(std::move(call));
        const QCursor* cursor = QGuiApplication::overrideCursor();
        pointers.push_back(cursor != nullptr ? static_cast<int>(cursor->shape()) : -1);
    }

    std::size_t entries_;
};

} // namespace zw::testing
