#include "texts/CommandLineTexts.h"

#include <QLocale>
#include <QRegularExpression>

CommandLineTexts CommandLineTexts::forSystemLocale() {
    const QStringList languages = QLocale::system().uiLanguages();
    const bool japanese = !languages.isEmpty() && languages.first().startsWith(QLatin1String("ja"));
    return CommandLineTexts(japanese ? Language::Japanese : Language::English);
}

QString CommandLineTexts::usage() const {
    return pick("Usage: pelora [OPTION]... [FILE]...\n",
                "使い方: pelora [オプション]... [ファイル]...\n");
}

QString CommandLineTexts::help() const {
    return usage() +
           pick("Play MIDI files, with a dancing mascot and a playlist.\n"
                "\n"
                "One MIDI file plays at once; several are added to the playlist and the first\n"
                "plays; a list file (.lst) is loaded into the playlist. When Pelora already runs\n"
                "on this display, the files go to it and its windows come to the front.\n"
                "\n"
                "The environment variable PELORA_SOUNDFONT names a SoundFont to play with, as\n"
                "--soundfont does.\n"
                "\n"
                "Options:\n"
                "  -h, --help          Print this help and exit.\n"
                "  -v, --version       Print the version and exit.\n"
                "  --soundfont <FILE>  Play with the SoundFont FILE instead of the system's\n"
                "                      (wins over PELORA_SOUNDFONT).\n"
                "\n"
                "Arguments:\n"
                "  FILE                A MIDI file (.mid, .midi, .kar, .rmi) or a list file\n"
                "                      (.lst).\n",
                "MIDI ファイルを演奏します。演奏中はマスコットが踊り、プレイリストも使えます。\n"
                "\n"
                "MIDI ファイルを一つ指定するとすぐに演奏し、いくつか指定するとプレイリストに\n"
                "加えて最初のファイルを演奏します。演奏リスト (.lst) はプレイリストに\n"
                "読み込みます。この画面で Pelora がすでに動いているときは、ファイルはそちらに\n"
                "渡され、そのウィンドウが前に出ます。\n"
                "\n"
                "環境変数 PELORA_SOUNDFONT で、演奏に使う SoundFont を --soundfont と同じく\n"
                "指定できます。\n"
                "\n"
                "オプション:\n"
                "  -h, --help          このヘルプを表示して終了します。\n"
                "  -v, --version       バージョンを表示して終了します。\n"
                "  --soundfont <FILE>  システムの SoundFont の代わりに FILE で演奏します\n"
                "                      (PELORA_SOUNDFONT より優先されます)。\n"
                "\n"
                "引数:\n"
                "  FILE                MIDI ファイル (.mid, .midi, .kar, .rmi) または\n"
                "                      演奏リスト (.lst)。\n");
}

QString CommandLineTexts::refused(const QString& parserError) const {
    QString what = parserError;
    if (language_ == Language::Japanese) {
        // The parser words its errors in English before any translation can
        // be installed; these are all it says of Pelora's options.
        static const QRegularExpression unknown(
            QStringLiteral("^Unknown options?:? '?(.*?)'?\\.$"));
        static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
        static const QRegularExpression unexpected(
            QStringLiteral("^Unexpected value after '(.*)'\\.$"));
        if (const auto match = unknown.match(parserError); match.hasMatch())
            what = QStringLiteral("不明なオプションです: %1").arg(match.captured(1));
        else if (const auto match = missing.match(parserError); match.hasMatch())
            what = QStringLiteral("%1 の後に値がありません").arg(match.captured(1));
        else if (const auto match = unexpected.match(parserError); match.hasMatch())
            what = QStringLiteral("%1 は値を取りません").arg(match.captured(1));
    }
    return QStringLiteral("pelora: %1\n").arg(what) + usage() +
           pick("Try 'pelora --help' for more information.\n",
                "詳しくは 'pelora --help' を実行してください。\n");
}

QString CommandLineTexts::noDisplay() const {
    return pick("pelora: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                "start it from a desktop session.\n",
                "pelora: ディスプレイが見つかりません (DISPLAY も WAYLAND_DISPLAY も設定されて"
                "いません)。デスクトップのセッションから起動してください。\n");
}

QString CommandLineTexts::waylandClient() const {
    return pick("pelora: running as a Wayland client, where the windows cannot be placed "
                "side by side and the playlist does not follow the minimised player; "
                "with an X server (DISPLAY) they can.\n",
                "pelora: Wayland のクライアントとして動いています。ウィンドウを並べて置けず、"
                "プレーヤーを最小化してもプレイリストは隠れません。X サーバー (DISPLAY) が"
                "あれば、そうできます。\n");
}

QString CommandLineTexts::noRuntimeFolder() const {
    return pick("no private runtime folder (XDG_RUNTIME_DIR); this Pelora runs on its own "
                "and later starts open others",
                "自分専用の実行時フォルダー (XDG_RUNTIME_DIR) がありません。この Pelora は"
                "単独で動き、後から起動したものは別の Pelora を開きます");
}

QString CommandLineTexts::cannotLock(const QString& lockFile) const {
    return pick("cannot lock %1; starting on its own", "%1 をロックできません。単独で起動します")
        .arg(lockFile);
}

QString CommandLineTexts::cannotTakeOption(const QString& option) const {
    return pick("Pelora already runs on this display and cannot take %1 from another start; "
                "nothing was handed over. Close it to start with %1.",
                "この画面ではすでに Pelora が動いていて、後からの起動の %1 は受け取れません。"
                "何も渡していません。%1 を使うには、動いている Pelora を閉じてから起動して"
                "ください。")
        .arg(option);
}

QString CommandLineTexts::tooManyToHandOver() const {
    return pick("too many files to hand to the running Pelora",
                "動いている Pelora に渡すにはファイルが多すぎます");
}

QString CommandLineTexts::runningDidNotAnswer() const {
    return pick("the running Pelora did not answer", "動いている Pelora が応答しませんでした");
}

QString CommandLineTexts::runningDidNotTake() const {
    return pick("the running Pelora did not take the files",
                "動いている Pelora がファイルを受け取りませんでした");
}

QString CommandLineTexts::cannotListen(const QString& socket, const QString& reason) const {
    return pick("cannot listen on %1 (%2); a later start will open another Pelora",
                "%1 で待ち受けられません (%2)。後から起動すると別の Pelora が開きます")
        .arg(socket, reason);
}

QString CommandLineTexts::requestTooLarge() const {
    return pick("ignored a request from another start: too many bytes arrive at once",
                "後からの起動の要求を無視しました: 一度に届くバイトが多すぎます");
}

QString CommandLineTexts::requestMalformed() const {
    return pick("ignored a malformed request from another start",
                "後からの起動の、形式の正しくない要求を無視しました");
}
