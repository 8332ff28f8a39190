#include "player/ProblemMessage.h"

QString problemMessage(const SequencerProblem& problem) {
    switch (problem.kind) {
    case SequencerProblem::Kind::NoAudioOutput:
        return QStringLiteral(
                   "音を出せません。\n\n音声の出力先を開けませんでした (試したもの: %1)。"
                   "サウンドサーバー (PipeWire や PulseAudio) が動いているか、"
                   "サウンドカードとその音量を確かめてください。")
            .arg(problem.reason);
    case SequencerProblem::Kind::NoSoundFont:
        return QStringLiteral(
                   "音を出せません。\n\n使える SoundFont (音色のファイル) が %1 にありません。"
                   "fluid-soundfont-gm などの General MIDI の SoundFont を入れるか、"
                   "--soundfont で SoundFont を指定してください。")
            .arg(problem.reason);
    case SequencerProblem::Kind::ChosenSoundFontUnusable:
        return QStringLiteral("指定された SoundFont「%1」を使えません: %2\n\n"
                              "代わりにシステムの SoundFont を使います。")
            .arg(problem.fileName, problem.reason);
    case SequencerProblem::Kind::UnplayableFile:
        break;
    }
    return QStringLiteral("「%1」を再生できません。\n\n%2").arg(problem.fileName, problem.reason);
}
