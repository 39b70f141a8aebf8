#include "common/zeitwache_error.h"
#include "line_builder.h"
#include "store/appointment_list.h"

#include <gtest/gtest.h>

using namespace zw;
using zw::testing::makeLine;
using Answer = OverwriteAnswer;

namespace {

std::string at(const std::string& date, const std::string& time, const std::string& msg = "m")
{
    return makeLine({.date = date, .time = time, .message = msg});
}

struct ListFixture : ::testing::Test {
    AppointmentList list;
    int saves = 0;
    int queries = 0;
    std::vector<std::string> saved;

    void SetUp() override
    {
        list.setSaver([this](const std::vector<std::string>& lines) {
            ++saves;
            saved = lines;
        });
    }
    AppointmentList::OverwriteQuery answer(Answer a)
    {
        return [this, a] {
            ++queries;
            return a;
        };
    }
    AppointmentList::StoreResult store(const std::string& l, int edit = 0, Answer a = Answer::Yes)
    {
        return list.store(l, edit, answer(a), 2026);
    }
};

} // namespace

TEST_F(ListFixture, StoresInDateOrderAndSavesEveryTime)
{
    store(at("01.01.2027", "11:00"));            // empty list: appended
    store(at("01.01.2027", "09:00"));            // earlier than all: first
    store(at("01.01.2027", "10:00"));            // between
    store(at("02.01.2027", "08:00"));            // later than all: last
    store(at("31.12.2026", "23:59"));            // dates compare as dates, not as text
    std::vector<std::string> expected{at("31.12.2026", "23:59"), at("01.01.2027", "09:00"),
                                      at("01.01.2027", "10:00"), at("01.01.2027", "11:00"),
                                      at("02.01.2027", "08:00")};
    EXPECT_EQ(list.lines(), expected);
    EXPECT_EQ(saves, 5);
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(queries, 0);
}

TEST_F(ListFixture, SameMinuteAsksAndYesReplacesInPlace)
{
    store(at("01.01.2027", "09:00"));
    store(at("01.01.2027", "10:00", "alt"));
    store(at("01.01.2027", "11:00"));
    EXPECT_EQ(store(at("01.01.2027", "10:00", "neu"), 0, Answer::Yes), AppointmentList::StoreResult::Stored);
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.get(1), at("01.01.2027", "10:00", "neu"));
}

TEST_F(ListFixture, NoAndCancelLeaveTheListButStillSave)
{
    store(at("01.01.2027", "10:00", "alt"));
    for (Answer a : {Answer::No, Answer::Cancel}) {
        int before = saves;
        EXPECT_EQ(store(at("01.01.2027", "10:00", "neu"), 0, a), AppointmentList::StoreResult::Declined);
        EXPECT_EQ(list.lines(), std::vector<std::string>{at("01.01.2027", "10:00", "alt")});
        EXPECT_EQ(saves, before + 1);
    }
}

TEST_F(ListFixture, NoTimeEqualsMidnightAndAsks)
{
    store(at("05.05.2027", "00:00"));
    store(at("05.05.2027", ""), 0, Answer::No);
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(list.count(), 1u);
}

TEST_F(ListFixture, EditingMovesTheEntryAndNeverAsksAboutItself)
{
    for (const char* t : {"08:00", "09:00", "10:00", "11:00", "12:00"})
        store(at("01.01.2027", t, t));
    // Entry at position 3 (11:00), stored unchanged: no query, same place.
    store(at("01.01.2027", "11:00", "11:00"), 4);
    EXPECT_EQ(queries, 0);
    EXPECT_EQ(list.get(3), at("01.01.2027", "11:00", "11:00"));
    // Moved to a later date: new place, same length.
    store(at("03.01.2027", "11:00", "moved"), 4);
    EXPECT_EQ(list.count(), 5u);
    EXPECT_EQ(list.get(4), at("03.01.2027", "11:00", "moved"));
    EXPECT_EQ(list.get(3), at("01.01.2027", "12:00", "12:00"));
}

TEST_F(ListFixture, EditedEntryMovedOntoAnotherAndDeclinedIsBackUnchanged)
{
    for (const char* t : {"08:00", "09:00", "10:00"})
        store(at("01.01.2027", t, t));
    auto before = list.lines();
    int savesBefore = saves;
    EXPECT_EQ(store(at("01.01.2027", "10:00", "edited"), 1, Answer::No), AppointmentList::StoreResult::Declined);
    EXPECT_EQ(list.lines(), before);
    EXPECT_EQ(saves, savesBefore + 1);
}

TEST_F(ListFixture, DamagedLineFailsTheStoreWithoutLosingTheEditedEntry)
{
    list.assign({at("01.01.2027", "08:00", "a"), "[kaputt", at("01.01.2027", "12:00", "c")});
    auto before = list.lines();
    try {
        store(at("01.01.2027", "13:00", "a moved"), 1);
        FAIL();
    } catch (const ZeitwacheError& e) {
        EXPECT_EQ(std::string(e.what()), "'kaputt' ist kein gültiges Datum und Zeit");
    }
    EXPECT_EQ(list.lines(), before);
    EXPECT_EQ(saves, 0);
}

TEST_F(ListFixture, PositionsOutsideTheListRaiseTheListError)
{
    list.assign({"a", "b", "c", "d"});
    list.remove(2);
    list.remove(2); // the old position 3 moved up
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(list.get(2), ZeitwacheError);
    EXPECT_THROW(list.put(2, "x"), ZeitwacheError);
    EXPECT_THROW(list.remove(5), ZeitwacheError);
    EXPECT_THROW(list.insert(3, "x"), ZeitwacheError);
    list.insert(2, "c"); // inserting at count appends
    EXPECT_EQ(list.get(2), "c");
    try {
        store(at("01.01.2027", "10:00"), 9);
    } catch (const ZeitwacheError& e) {
        EXPECT_STREQ(e.what(), "Listenindex außerhalb des zulässigen Bereichs");
    }
}

TEST_F(ListFixture, ATrackedEntryFollowsItsLineUntilTheLineGoes)
{
    list.assign({"a", "b", "c"});
    AppointmentList::TrackedEntry b(list);
    b.set(1);
    list.insert(0, "first");
    EXPECT_EQ(b.position(), 2u);
    list.remove(3);
    list.append("last");
    EXPECT_EQ(b.position(), 2u);
    list.remove(0);
    EXPECT_EQ(b.position(), 1u);
    list.remove(1);
    EXPECT_FALSE(b.position());
    // Gone, it still tells where the entries after it begin: what is inserted at its old
    // place comes after it, what goes before it moves the place up.
    EXPECT_EQ(b.following(), 1u);
    list.insert(1, "between");
    EXPECT_EQ(b.following(), 1u);
    list.remove(0);
    EXPECT_EQ(b.following(), 0u);
    b.set(0);
    EXPECT_EQ(b.following(), 1u);
    list.assign({"new"});
    EXPECT_FALSE(b.position());
    EXPECT_EQ(b.following(), 0u);
}

TEST_F(ListFixture, PlaceLeavesTheTrackedEntryOnWhatStandsForTheAppointment)
{
    list.assign({at("01.01.2027", "08:00", "a"), at("01.01.2027", "09:00", "b"), at("01.01.2027", "10:00", "c")});
    AppointmentList::TrackedEntry edited(list);
    AppointmentList::TrackedEntry other(list);
    const struct {
        const char* name;
        const char* time;
        Answer answer;
        size_t expected;
    } cases[] = {
        {"moved later", "11:00", Answer::Yes, 2},
        {"moved onto another, declined", "09:00", Answer::No, 0},
        {"moved onto another, replacing it", "09:00", Answer::Yes, 0},
    };
    for (const auto& c : cases) {
        list.assign({at("01.01.2027", "08:00", "a"), at("01.01.2027", "09:00", "b"), at("01.01.2027", "10:00", "c")});
        edited.set(0);
        other.set(1);
        list.place(at("01.01.2027", c.time, "edited"), edited, answer(c.answer), 2026);
        ASSERT_TRUE(edited.position()) << c.name;
        EXPECT_EQ(*edited.position(), c.expected) << c.name;
        EXPECT_EQ(list.get(*edited.position()).find("edited") != std::string::npos, c.answer == Answer::Yes) << c.name;
    }
    // The replaced appointment is gone: whoever followed it follows nothing.
    EXPECT_FALSE(other.position());
    EXPECT_EQ(saves, 0);
}

namespace {
// Records what the list tells its observers.
struct Recorder : AppointmentList::Observer {
    std::vector<std::string> seen;
    void entriesRemoved(const std::vector<size_t>& positions) override
    {
        std::string s = "removed";
        for (size_t p : positions)
            s += " " + std::to_string(p);
        seen.push_back(s);
    }
    void entryInserted(size_t pos) override { seen.push_back("inserted " + std::to_string(pos)); }
    void entryChanged(size_t pos) override { seen.push_back("changed " + std::to_string(pos)); }
    void entriesReplaced() override { seen.push_back("replaced"); }
};
} // namespace

TEST_F(ListFixture, ObserversHearOfEveryChangeAndRemoveAllMovesEachKeptLineOnce)
{
    Recorder recorder;
    list.addObserver(&recorder);
    list.assign({"a", "b", "c", "d", "e", "f"});
    AppointmentList::TrackedEntry e(list);
    e.set(4);
    list.removeAll({1, 2, 5});
    EXPECT_EQ(list.lines(), (std::vector<std::string>{"a", "d", "e"}));
    EXPECT_EQ(e.position(), 2u);
    list.put(0, "A");
    list.append("g");
    list.remove(0);
    list.removeObserver(&recorder);
    list.remove(0);
    EXPECT_EQ(recorder.seen,
              (std::vector<std::string>{"replaced", "removed 1 2 5", "changed 0", "inserted 3", "removed 0"}));
    EXPECT_THROW(list.removeAll({7}), ZeitwacheError);
}
