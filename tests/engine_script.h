// The engine's own small story for end-to-end tests: every kind of script line, on two
// pictures of plain-coloured bands, with the game folder's music and voice clips.
#pragma once
#include "tests/draw_test_support.h"
#include "tests/story_test_table.h"

namespace storytest {

inline constexpr uint32_t SceneZeroBand(int k) { return 0x4070A0 + uint32_t(k) * 0x200018; }
inline constexpr uint32_t SceneOneBand(int k) { return 0x305020 + uint32_t(k) * 0x200018; }

// The two pictures, sc0.sad (two bands) and sc1.sad (five), each band a plain colour.
inline void WriteEnginePictures(const std::filesystem::path& dir) {
    for (int scene : {0, 1}) {
        auto picture = Picture(500, 375 * (scene ? 5 : 2), [scene](int, int y) {
            return scene ? SceneOneBand(y / 375) : SceneZeroBand(y / 375);
        });
        WriteFile(dir / (scene ? "sc1.sad" : "sc0.sad"), std::string(picture.begin(), picture.end()));
    }
}

// A small script that uses every kind of line the engine knows, on those two pictures.
inline void UseEngineScript(const std::filesystem::path& dir) {
    WriteEnginePictures(dir);
    SetScript({
        "file:sc0.sad",
        "setscreen:0",
        "midi_play:bgm01.mid",
        Sjis("冬の終わりの夜、小さな駅に灯りがともった。"),
        "wave_play:v_minato_001.sad",
        Sjis("駅員:今夜の最終列車は、もうすぐ来ますよ。"),
        "setchar:99",
        "flg:001,1",
        "if:001,1,002,5",
        "switch:002,5,17",
        Sjis("（この行は飛ばされる）"),
        "size:24",
        Sjis("私:ホームのベンチには、誰もいない。"),
        "swave:",
        Sjis("線路の向こうで、雪がゆらゆらと揺れている。"),
        "file:sc1.sad",
        "setscreen:0",
        "anime:4",
        "speed:70",
        "loopanime:2",
        Sjis("遠くから、列車の灯りが近づいてくる。"),
        "wave_play:v_sayo_001.sad",
        Sjis("車掌:お乗りになりますか？"),
        "save:rest",
        "load:",
        Sjis("（ここに来ることはない）"),
        "label:rest",
        Sjis("列車に乗るか、駅に残るか。"),
        "command:2",
        Sjis("nori:列車に乗る"),
        Sjis("noko:駅に残る"),
        Sjis("どうしますか？"),
        "label:nori",
        "loopanime:0",
        "anime:4",
        Sjis("私は列車に乗り込んだ。窓の外で、駅の灯りが小さくなっていく。"),
        "jump:last",
        "label:noko",
        "file:sc0.sad",
        "setscreen:1",
        "midi_stop:",
        Sjis("私は駅に残ることにした。灯りの下で、次の春を待とう。"),
        "label:last",
        Sjis("灯りの駅の物語は、ここで一度おしまい。"),
        "jump:_end",
        "label:_end",
        "end:99"
    });
}

}  // namespace storytest
