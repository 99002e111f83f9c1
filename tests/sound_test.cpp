// The sound path the logic can reach without a device: requests, the
// synthesizer, the mixer and the sound files. The committed WAVs are checked
// against their sources by the art test.
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "audio.h"
#include "fileio.h"
#include "menu.h"
#include "mixer.h"
#include "sdl_events.h"
#include "sound.h"
#include "test_util.h"

namespace {

// Mixes n samples.
std::vector<int16_t> mix(int n)
{
    std::vector<int16_t> out(n);
    mixerFill(out.data(), n);
    return out;
}

// A tone line as the effect reader splits it.
int parseTone(std::vector<std::string> words, SynthTone *tone, const char **error)
{
    std::vector<char *> pointers;
    for (std::string &w : words)
        pointers.push_back(w.data());
    return synthParseTone(pointers.data(), (int)pointers.size(), tone, error);
}

} // namespace

TEST(Mixer, SumsScalesClipsAndStealsTheOldestVoice)
{
    static const unsigned char quiet[4] = {138, 138, 138, 138}; // 10 above silence
    static const unsigned char loud[2] = {255, 255};
    mixerReset(SOUND_RATE);
    mixerSetVolume(SOUND_VOLUME_MAX);
    mixerSetEffect(SOUND_JUMP, quiet, 4);
    mixerSetEffect(SOUND_KEY, loud, 2);
    mixerStart(SOUND_JUMP);
    mixerStart(SOUND_JUMP);
    mixerStart(SOUND_DOOR); // no samples: silent, takes no voice
    EXPECT_EQ(mix(5), (std::vector<int16_t>{5120, 5120, 5120, 5120, 0}));

    mixerStart(SOUND_KEY);
    mixerStart(SOUND_KEY);
    EXPECT_EQ(mix(3), (std::vector<int16_t>{INT16_MAX, INT16_MAX, 0}));

    mixerSetVolume(5);
    mixerStart(SOUND_JUMP);
    EXPECT_EQ(mix(1)[0], 1280);
    for (int i = 0; i < MIXER_VOICES; i++) // the first jump's voice is the one taken
        mixerStart(SOUND_KEY);
    EXPECT_EQ(mix(4), (std::vector<int16_t>{INT16_MAX, INT16_MAX, 0, 0})); // else 1280 after the keys
}

TEST(Mixer, PlaysEffectsAtTheDeviceRateAndLoopsTheTune)
{
    static const unsigned char ramp[3] = {129, 130, 131};
    mixerReset(SOUND_RATE * 2);
    mixerSetVolume(SOUND_VOLUME_MAX);
    mixerSetEffect(SOUND_STOMP, ramp, 3);
    mixerStart(SOUND_STOMP);
    EXPECT_EQ(mix(7), (std::vector<int16_t>{256, 256, 512, 512, 768, 768, 0}));

    // Two steps of a bar: a note and a rest, 441 samples each at 44100 Hz.
    static Tune tune;
    tune = {};
    tune.stepsPerMinute = 6000;
    tune.voices = 1;
    tune.voice[0] = {WAVE_SQUARE, 100, 2, {69, TUNE_REST}};
    mixerSetTune(&tune);
    const std::vector<int16_t> first = mix(882), second = mix(882);
    EXPECT_EQ(first, second);
    EXPECT_GT(first[0], 0);
    EXPECT_EQ(first[441], 0);
    mixerSetTune(&tune); // the same tune again goes on where it is
    EXPECT_EQ(mix(882), first);
    EXPECT_EQ(mixerNoteMilliHz(57), 220000);
    EXPECT_EQ(mixerNoteMilliHz(60), 261626);
}

TEST(Synth, RendersTonesInOrderUnderTheirEnvelopeAndRefusesBadLines)
{
    const SynthTone tones[2] = {{WAVE_SQUARE, 1000, 1000, 10, 5, 0, 100}, {WAVE_NOISE, 500, 500, 10, 0, 10, 0}};
    unsigned char out[SOUND_MAX_SAMPLES];
    ASSERT_EQ(synthRender(tones, 2, out, SOUND_MAX_SAMPLES), 2 * 220);
    EXPECT_EQ(out[0], SOUND_SILENCE); // the fade in starts from silence
    EXPECT_EQ(out[200], SOUND_SILENCE + 127);
    EXPECT_EQ(out[215], SOUND_SILENCE - 127);
    for (int i = 220; i < 440; i++)
        ASSERT_EQ(out[i], SOUND_SILENCE) << i; // volume 0
    EXPECT_EQ(synthRender(tones, 2, out, 100), 100);

    SynthTone tone;
    const char *error = "";
    EXPECT_EQ(parseTone({"tone", "saw", "440", "880", "100", "5", "50", "60"}, &tone, &error), 0);
    EXPECT_EQ(std::make_tuple(tone.wave, tone.toHz, tone.releaseMs), std::make_tuple((int)WAVE_SAW, 880, 50));
    for (auto bad : std::vector<std::vector<std::string>>{{"tone", "sine", "1", "1", "1", "0", "0", "1"},
                                                          {"tone", "saw", "0", "1", "1", "0", "0", "1"},
                                                          {"tone", "saw", "1", "1", "10", "11", "0", "1"},
                                                          {"tone", "saw", "1", "1", "10", "0", "0", "101"},
                                                          {"tone", "saw", "1x", "1", "10", "0", "0", "1"},
                                                          {"tone", "saw"}})
        EXPECT_EQ(parseTone(bad, &tone, &error), 1) << bad[1] << " " << bad.size();
}

TEST(SoundFiles, WavsRoundTripAndOnlyTheGamesOwnFormReads)
{
    TempDir dir;
    const std::string wav = dir.path + "/a.wav";
    const unsigned char samples[3] = {1, 128, 255};
    ASSERT_EQ(saveSoundWav(wav.c_str(), samples, 3), 0);
    int length = 0;
    unsigned char *read = loadSoundWav(wav.c_str(), &length);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(read), 3), std::string(reinterpret_cast<const char *>(samples), 3));
    free(read);
    EXPECT_EQ(length, 3);

    std::string bytes = readFile(wav);
    bytes[24] = 0x11; // 11025 Hz
    writeFile(wav, bytes);
    EXPECT_EQ(loadSoundWav(wav.c_str(), &length), nullptr);
    writeFile(wav, readFile(wav).substr(0, 20));
    EXPECT_EQ(loadSoundWav(wav.c_str(), &length), nullptr);
    EXPECT_EQ(loadSoundWav(dir.path.c_str(), &length), nullptr);
}

TEST(SoundFiles, TunesReadNotesRestsAndHoldsAndRefuseTheRestWhole)
{
    TempDir dir;
    const std::string path = dir.path + "/t.tune";
    static Tune tune;
    writeFile(path, "speed 120\nvoice triangle 40\nnotes A4 Cs5 . -\nnotes C0 B8\nvoice noise 5\nnotes C4\n");
    ASSERT_EQ(loadTune(path.c_str(), &tune), 0);
    EXPECT_EQ(std::make_tuple(tune.voices, tune.voice[0].steps, tune.voice[1].wave),
              std::make_tuple(2, 6, (int)WAVE_NOISE));
    EXPECT_EQ(std::vector<short>(tune.voice[0].note, tune.voice[0].note + 6),
              (std::vector<short>{69, 73, TUNE_REST, TUNE_HOLD, 12, 119}));
    for (const char *bad : {"speed 120\nnotes A4\n", "speed 120\nvoice square 9\nnotes H4\n",
                            "speed 120\nvoice square 9\nnotes A9\n", "voice square 9\nnotes A4\n",
                            "speed 120\nvoice square 9\n", "speed 0\nvoice square 9\nnotes A4\n"}) {
        writeFile(path, bad);
        EXPECT_EQ(printed([&] { EXPECT_EQ(loadTune(path.c_str(), &tune), 1) << bad; }).find("ERROR: (loadTune)"), 0u)
            << bad;
        EXPECT_EQ(tune.voices, 0);
    }
}

TEST(SoundVolume, LeftAndRightOnTheSoundEntrySetAndKeepItWithinRange)
{
    TempDir dir;
    ASSERT_EQ(mkdir((dir.path + "/data").c_str(), 0755), 0);
    InDirectory inDir(dir.path);
    resetGame();
    EXPECT_EQ(loadSoundVolume(SOUND_VOLUME_FILE), SOUND_VOLUME_DEFAULT);
    menuCreate();
    _menuSet(1, 1);
    auto press = [](int button) { keyPress.key[button] = 1; menuUpdate(); };
    press(LEFT); // on "Controls": nothing
    EXPECT_FALSE(fileExists(SOUND_VOLUME_FILE));
    press(DOWN);
    for (int i = 0; i < 8; i++)
        press(LEFT);
    EXPECT_EQ(soundVolume, 0);
    EXPECT_EQ(loadSoundVolume(SOUND_VOLUME_FILE), 0);
    for (int i = 0; i < 12; i++)
        press(RIGHT);
    press(OK); // still does nothing, as ever
    EXPECT_EQ(std::make_tuple(soundVolume, loadSoundVolume(SOUND_VOLUME_FILE), curMenu->selectedIndex),
              std::make_tuple(SOUND_VOLUME_MAX, SOUND_VOLUME_MAX, 1));
    SoundEffect heard[64];
    EXPECT_EQ(soundTakeRequests(heard, 64), 17); // a move, then one a step, none past the ends
    EXPECT_EQ(heard[16], SOUND_MENU_MOVE);
    for (int i = 0; i < 40; i++)
        soundPlay(SOUND_JUMP);
    EXPECT_EQ(soundTakeRequests(heard, 64), 32); // a burst beyond the queue is dropped
    writeFile(SOUND_VOLUME_FILE, "volume 99\n");
    EXPECT_EQ(loadSoundVolume(SOUND_VOLUME_FILE), SOUND_VOLUME_MAX);
    resetGame();
}

namespace {

// The effects a recorded route asked for, step by step, from its output.
std::vector<std::pair<int, std::string>> requestsOf(const std::string &output)
{
    std::vector<std::pair<int, std::string>> requests;
    std::istringstream in(output);
    int step;
    char name[32];
    for (std::string line; std::getline(in, line);)
        if (sscanf(line.c_str(), "step=%d sound=%31s", &step, name) == 2)
            requests.push_back({step, name});
    return requests;
}

// The trace's line of a step.
std::string traceLine(const std::string &trace, int step)
{
    const std::string head = "step=" + std::to_string(step) + " ";
    const size_t at = trace.find(head);
    return at == std::string::npos ? "" : trace.substr(at, trace.find('\n', at) - at);
}

} // namespace

// The first level won with sound recorded: the trace is the silent run's, each
// effect is asked for at the step of its event, and an effect that sounds
// alone is in the recording from that step's sixtieth of a second, sample for
// sample (each effect sample twice at the recording's 44100 Hz).
TEST(SoundRoute, EffectsSoundAtTheStepsOfTheirEventsAndChangeNothingElse)
{
    TempDir dir;
    const std::string replay = KETTLEMOOR_BINARY_DIR "/kettlemoor-replay -map data/maps/map01.map ";
    const std::string route = " tests/routes/map01_win.replay >" + dir.path + "/out";
    ASSERT_EQ(std::system((replay + "--trace " + dir.path + "/silent" + route).c_str()), 0);
    ASSERT_EQ(std::system((replay + "--trace " + dir.path + "/trace --sound " + dir.path + "/rec.wav" + route).c_str()), 0);
    const std::string trace = readFile(dir.path + "/trace");
    EXPECT_EQ(trace, readFile(dir.path + "/silent"));
    const std::string wav = readFile(dir.path + "/rec.wav");
    const auto requests = requestsOf(readFile(dir.path + "/out"));

    std::set<std::string> heardAlone;
    for (size_t r = 0; r < requests.size(); r++) {
        const auto &[step, name] = requests[r];
        const std::string line = traceLine(trace, step), before = traceLine(trace, step - 1);
        const std::map<std::string, std::string> marks = {
            {"stomp", " vy=-1.300 "}, {"key", " key=1 "}, {"splash", " ground=1 "}};
        if (marks.count(name)) {
            EXPECT_NE(line.find(marks.at(name)), std::string::npos) << line;
        }
        if (name == "jump") { // from the ground, or a kick off a wall
            EXPECT_TRUE(line.find(" vy=-2.600 ") != std::string::npos || line.find(" vy=-2.000 ") != std::string::npos);
        }
        if (name == "key") {
            EXPECT_NE(before.find(" key=0 "), std::string::npos);
        }
        if (name == "door") {
            EXPECT_NE(trace.find("result=won steps=" + std::to_string(step)), std::string::npos);
        }

        int length = 0;
        unsigned char *effect = loadSoundWav(("data/sfx/" + name + ".wav").c_str(), &length);
        ASSERT_NE(effect, nullptr) << name;
        const size_t start = 44 + 2 * 735 * (size_t)(step - 1), end = start + 4 * (size_t)length;
        const bool alone = (r == 0 || requests[r - 1].first + 30 < step) &&
                           (r + 1 == requests.size() || (size_t)requests[r + 1].first * 735 * 2 + 44 > end + 2 * 735);
        for (size_t i = start; alone && i < end && i + 1 < wav.size(); i += 2) {
            const int sample = (int16_t)((unsigned char)wav[i] | (unsigned char)wav[i + 1] << 8);
            ASSERT_EQ(sample, (effect[(i - start) / 4] - SOUND_SILENCE) * 256) << name << " at step " << step;
        }
        if (alone)
            heardAlone.insert(name);
        free(effect);
    }
    EXPECT_EQ(heardAlone, (std::set<std::string>{"door", "jump", "key", "knockout", "splash", "throw"}));
}

// The device end: no device is one line and silence; a volume of 0 opens
// none; SDL's disk driver stands in for a sound card and gets the mix.
TEST(SoundDevice, OpensOnlyWhenThereIsOneAndTheVolumeIsAboveZero)
{
    TempDir dir;
    ASSERT_EQ(mkdir((dir.path + "/data").c_str(), 0755), 0);
    ASSERT_EQ(symlink(KETTLEMOOR_SOURCE_DIR "/data/sfx", (dir.path + "/data/sfx").c_str()), 0);
    InDirectory inDir(dir.path);
    resetGame();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(printed([] {
                  audioStart();
                  soundPlay(SOUND_JUMP);
                  audioDeliver();
              }),
              "Sound is off: No available audio device\n|");
    EXPECT_FALSE(audioIsOpen());
    audioStop();

    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir.path + "/out.raw").c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    writeFile(SOUND_VOLUME_FILE, "volume 0\n");
    EXPECT_EQ(printed([] { audioStart(); }), "|");
    EXPECT_FALSE(audioIsOpen());
    soundChangeVolume(+1); // the device opens once the volume rises
    audioDeliver();
    ASSERT_TRUE(audioIsOpen());
    soundPlay(SOUND_GAME_OVER);
    audioDeliver();
    SDL_Delay(200);
    audioStop();
    const std::string written = readFile(dir.path + "/out.raw");
    EXPECT_GT(written.size(), 0u);
    EXPECT_NE(written.find_first_not_of('\0'), std::string::npos);
    unsetenv("SDL_AUDIODRIVER");
    resetGame();
}
