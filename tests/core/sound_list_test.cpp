#include "common/file_io.h"
#include "data_dir.h"
#include "manager/sound_list.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zw;
namespace fs = std::filesystem;

TEST(SoundList, KeinComesFirstThenTheWaveFilesSortedWithoutRegardToCase)
{
    const zw::testing::DataDir dir;
    fs::create_directories(dir / "ordner.wav");
    // "!" and "#" sort before "(": the list keeps "(Kein)" first all the same.
    for (const char* name : {"gong.wav", "Bell.WAV", "!alarm.wav", "#1.wav", "notiz.txt", "wav", "\xC3\xBC" "ber.wav",
                             "\xE6\x97\xA5.wav"})
        ASSERT_TRUE(writeFileAtomically(dir / name, "RIFF"));
    const std::vector<std::string> entries = soundEntriesIn({dir});

    // The name in a script Windows-1252 cannot hold is left out; "über" is stored in it.
    EXPECT_EQ(entries, (std::vector<std::string>{"(Kein)", "!alarm.wav", "#1.wav", "Bell.WAV", "gong.wav",
                                                 "\xFC" "ber.wav"}));
    EXPECT_EQ(soundEntryNamed(entries, "GONG.wav"), 4);
    EXPECT_EQ(soundEntryNamed(entries, "\xDC" "BER.WAV"), 5);
    EXPECT_EQ(soundEntryNamed(entries, "fehlt.wav"), -1);
}

TEST(SoundList, AMissingDirectoryOffersNoSoundOnly)
{
    EXPECT_EQ(soundEntriesIn({"/nonexistent/zeitwache"}), std::vector<std::string>{"(Kein)"});
}

TEST(SoundList, SeveralFoldersAreOneListAndANameInTwoIsListedOnceAsTheFirstSpellsIt)
{
    const zw::testing::DataDir base;
    fs::create_directories(base / "eigene");
    fs::create_directories(base / "mitgeliefert");
    for (const char* name : {"eigene/Gong.wav", "eigene/mein.wav", "mitgeliefert/gong.wav", "mitgeliefert/glocke.wav"})
        ASSERT_TRUE(writeFileAtomically(base / name, "RIFF"));
    const std::vector<std::string> entries =
        soundEntriesIn({base / "eigene", base / "fehlt", base / "mitgeliefert"});

    EXPECT_EQ(entries, (std::vector<std::string>{"(Kein)", "glocke.wav", "Gong.wav", "mein.wav"}));
}
