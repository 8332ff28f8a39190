#include "texts/Texts.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Texts {

QString fatalFailure(const QString& detail) {
    return QStringLiteral("エラーが発生したため終了します。\n\n%1").arg(detail);
}

QString fileError(const WholeFileError& error, long long sizeLimit) {
    switch (error.reason) {
    case WholeFileError::Reason::Folder:
        return QStringLiteral("フォルダーです");
    case WholeFileError::Reason::NotRegular:
        return QStringLiteral("通常のファイルではありません");
    case WholeFileError::Reason::ReadOnly:
        return QStringLiteral("読み取り専用のファイルです");
    case WholeFileError::Reason::TooLarge:
        return QStringLiteral("大きすぎます (%1 MB を超えています)").arg(sizeLimit / (1024 * 1024));
    case WholeFileError::Reason::System:
        break;
    }
    switch (error.error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスする権限がありません");
    case EROFS:
        return QStringLiteral("書き込めない場所です");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空きが足りません");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("そのファイルまたはフォルダーがありません");
    case EISDIR:
        return QStringLiteral("フォルダーです");
    default:
        return QString::fromLocal8Bit(std::strerror(error.error));
    }
}

namespace {

QString midiRefusal(PlayableMidiFile::Refusal refusal) {
    switch (refusal) {
    case PlayableMidiFile::Refusal::Empty:
        return QStringLiteral("空のファイルです");
    case PlayableMidiFile::Refusal::NotMidi:
        return QStringLiteral("MIDI ファイルではありません");
    case PlayableMidiFile::Refusal::TooManyEvents:
        return QStringLiteral("音符などのイベントが多すぎます (%1 万個を超えています)")
            .arg(MidiFileNormaliser::maxEvents / 10000);
    case PlayableMidiFile::Refusal::NoNotes:
        return QStringLiteral("演奏する音符がありません");
    case PlayableMidiFile::Refusal::Damaged:
        break;
    }
    return QStringLiteral("MIDI ファイルが壊れているか、扱えない形式です");
}

// Why the file or the chosen SoundFont of a problem cannot be used.
QString reason(const SoundProblem& problem) {
    if (problem.readError)
        return fileError(*problem.readError, static_cast<long long>(PlayableMidiFile::maxFileSize));
    if (problem.refusal)
        return midiRefusal(*problem.refusal);
    return QStringLiteral("SoundFont として読み込めません");
}

// A list written on Windows names its files C:\MIDI\a.mid or
// \\server\MIDI\a.mid, a place this system does not have.
bool isMissingWindowsPath(const SoundProblem& problem) {
    const QString& name = problem.fileName;
    const bool windowsPath =
        (name.size() > 2 && name[0].isLetter() && name[1] == QLatin1Char(':') &&
         (name[2] == QLatin1Char('\\') || name[2] == QLatin1Char('/'))) ||
        name.startsWith(QLatin1String("\\\\"));
    return windowsPath && problem.readError &&
           problem.readError->reason == WholeFileError::Reason::System &&
           problem.readError->error == ENOENT;
}

} // namespace

QString soundProblem(const SoundProblem& problem) {
    const QString noSound = QStringLiteral("音を出せません。\n\n");
    switch (problem.kind) {
    case SoundProblem::Kind::NoAudioOutput:
        return noSound + QStringLiteral("音声の出力先を開けませんでした (試したもの: %1)。"
                                        "サウンドサーバー (PipeWire や PulseAudio) が動いているか、"
                                        "サウンドカードとその音量を確かめてください。")
                             .arg(problem.tried);
    case SoundProblem::Kind::NoSoundFont:
        return noSound +
               QStringLiteral("使える SoundFont (音色のファイル) が %1 にありません。"
                              "fluid-soundfont-gm などの General MIDI の SoundFont を入れるか、"
                              "--soundfont で SoundFont を指定してください。")
                   .arg(problem.tried);
    case SoundProblem::Kind::NoSynthesizer:
        return noSound + QStringLiteral("シンセサイザーのモジュールを読み込めませんでした (%1)。"
                                        "Pelora を入れ直してください。")
                             .arg(problem.tried);
    case SoundProblem::Kind::ChosenSoundFontUnusable:
        return QStringLiteral("指定された SoundFont「%1」を使えません: %2\n\n"
                              "代わりにシステムの SoundFont を使います。")
            .arg(problem.fileName, reason(problem));
    case SoundProblem::Kind::UnplayableFile:
        break;
    }
    QString text =
        QStringLiteral("「%1」を再生できません。\n\n%2").arg(problem.fileName, reason(problem));
    if (isMissingWindowsPath(problem))
        text += QStringLiteral("\n\nWindows のパスです。このシステムにはその場所がありません。"
                               "ファイルをこのコンピューターにコピーし、そこから開くか"
                               "演奏リストに追加し直してください。");
    return text;
}

namespace {

// At most this many of a message's files or messages are named: the rest
// are counted, so that a message always fits the screen.
constexpr qsizetype named = 5;

QString andMore(qsizetype more) {
    return QStringLiteral("…ほか %1 件").arg(more);
}

} // namespace

QString unopenedFiles(const QStringList& nameAndReasons) {
    QString text =
        QStringLiteral("次のファイルを開けませんでした。\n\n") +
        nameAndReasons.first(std::min(named, nameAndReasons.size())).join(QLatin1Char('\n'));
    if (nameAndReasons.size() > named)
        text += QLatin1Char('\n') + andMore(nameAndReasons.size() - named);
    return text;
}

QString unopenedFiles(const std::vector<IncomingFiles::Unreadable>& files) {
    QStringList lines;
    for (const IncomingFiles::Unreadable& file : files)
        lines << nameAndReason(file.path, unopenedFileReason(file.why));
    return unopenedFiles(lines);
}

QString tooManyFiles(qsizetype count, int maxEntries) {
    return QStringLiteral("一度に渡されたファイルが多すぎます (%1 件)。\n\n"
                          "開けるのは %2 件までです。何も開きませんでした。")
        .arg(count)
        .arg(maxEntries);
}

QString gathered(const QStringList& texts, qsizetype more) {
    QString text = texts.first(std::min(named, texts.size())).join(QStringLiteral("\n\n"));
    const qsizetype notShown = std::max<qsizetype>(texts.size() - named, 0) + more;
    if (notShown > 0)
        text += QStringLiteral("\n\n") + andMore(notShown);
    return text;
}

QString nameAndReason(const QString& name, const QString& reason) {
    return QStringLiteral("%1: %2").arg(name, reason);
}

QString listFull(int maxEntries) {
    return QStringLiteral("演奏リストがいっぱいです。\n\n登録できるのは %1 件までです。")
        .arg(maxEntries);
}

QString listNotSaved() {
    return QStringLiteral("演奏リストを保存できませんでした。");
}

QString listNotLoaded() {
    return QStringLiteral("演奏リストを読み込めませんでした。");
}

QString listFileNotSaved(const QString& path, const QString& reason) {
    return QStringLiteral("リストファイル「%1」を保存できません: %2").arg(path, reason);
}

QString listFileNotLoaded(const QString& path, const QString& reason) {
    return QStringLiteral("リストファイル「%1」を読み込めません: %2").arg(path, reason);
}

QString entryNotRepresentable(const QString& entry, const std::string& charset) {
    return QStringLiteral("「%1」は文字コード %2 で表せません")
        .arg(entry, QString::fromStdString(charset));
}

QString charsetUnknown(const std::string& charset) {
    return QStringLiteral("文字コード %1 を扱えません").arg(QString::fromStdString(charset));
}

QString entryWithQuote(const QString& entry) {
    return QStringLiteral("「%1」は二重引用符を含むため書き込めません").arg(entry);
}

namespace {

// A file name as the shell takes it whole.
QString shellQuoted(const QString& path) {
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString bytesInvalid(const std::string& charset, std::size_t offset, const QString& path,
                     bool triedWindows) {
    const QString set = QString::fromStdString(charset);
    QString text = QStringLiteral("文字コード %1 として正しくないバイトがあります (先頭から %2 "
                                  "バイト目)")
                       .arg(set)
                       .arg(offset + 1);
    if (triedWindows)
        text += QStringLiteral("。Windows の Shift_JIS (CP932) のリストでもありません");
    QString converted = path;
    if (converted.endsWith(QLatin1String(".lst"), Qt::CaseInsensitive))
        converted.chop(4);
    converted += QStringLiteral("-%1.lst").arg(set);
    return text + QStringLiteral("。\n\nほかの文字コードで書かれたリストなら、%1 に変換してから"
                                 "読み込んでください。EUC-JP のリストなら、端末で:\n"
                                 "iconv -f EUC-JP -t %1 %2 > %3")
                      .arg(set, shellQuoted(path), shellQuoted(converted));
}

QString tooManyEntries(int maxEntries) {
    return QStringLiteral("項目が %1 個を超えています").arg(maxEntries);
}

QString buttonPictureUnreadable(const QString& path) {
    return QStringLiteral("ボタンの画像 \"%1\" を読み込めません。").arg(path);
}

QString framePictureMissing(const QString& path) {
    return QStringLiteral("フレーム画像 \"%1\" が見つかりません。").arg(path);
}

QString framePictureMissing(const QString& path, const QString& searched) {
    return QStringLiteral("フレーム画像 \"%1\" が見つかりません。\n探した場所: %2")
        .arg(path, searched);
}

QString framePictureUnreadable(const QString& path, const QString& why) {
    return QStringLiteral("フレーム画像 \"%1\" を読み込めません: %2").arg(path, why);
}

QString midiFileFilter() {
    // Every suffix Pelora opens, under the description the dialog always had.
    return QStringLiteral("MIDI(*.mid;*.rmi)|*.mid;*.rmi;*.midi;*.kar|全てのファイル(*.*)|*.*");
}

QString listFileFilter() {
    return QStringLiteral("演奏リスト(*.lst)|*.lst|全てのファイル|*.*");
}

ControlText control(Control which) {
    switch (which) {
    case Control::Mascot:
        return {QStringLiteral("演奏リストを表示"),
                QStringLiteral("クリックすると演奏リストを表示します")};
    case Control::LoadButton:
        return {QStringLiteral("MIDIファイルを開く"),
                QStringLiteral("MIDIファイルを選んで再生します")};
    case Control::PauseButton:
        return {QStringLiteral("一時停止"), QStringLiteral("演奏を一時停止します")};
    case Control::StopButton:
        return {QStringLiteral("停止"), QStringLiteral("演奏を止めます")};
    case Control::PlayButton:
        return {QStringLiteral("再生"), QStringLiteral("今のファイルを最初から再生します")};
    case Control::SpeedBar:
        return {QStringLiteral("アニメーションの間隔（ミリ秒）"),
                QStringLiteral("マスコットのコマ送りの間隔です。右ほどゆっくり動きます")};
    case Control::ProgramIcon:
        return {QStringLiteral("Pelora のアイコン"), {}};
    case Control::List:
        break;
    }
    return {QStringLiteral("演奏リスト"), {}};
}

QString unopenedFileReason(const WholeFileError& error) {
    if (error.reason == WholeFileError::Reason::System && error.error == EILSEQ)
        return QStringLiteral("ファイルかフォルダーの名前が UTF-8 (このシステムの文字コード) "
                              "で書かれていないため開けません。UTF-8 の名前に付け直してください "
                              "(Shift_JIS の名前なら: convmv -f shift-jis -t utf-8 --notest 名前)");
    return fileError(error, 0);
}

} // namespace Texts
