<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>FileChooser</name>
    <message>
        <source>すべてのﾌｧｲﾙ(*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｱｲｺﾝ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ﾌｧｲﾙ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>「電卓スキン」の「書き出し」なら、このスキンを1つのﾌｧｲﾙにして配布できます。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>使い方: picturecalc [オプション] [FILE]
電卓のスキンを一覧し、取り込み、書き出し、起動します。スキンは利用者ごとに
${XDG_DATA_HOME:-~/.local/share}/picturecalc/skins にあります。
NAME はスキンの題名かフォルダ名です。

  (なし)              スキンが二つ以上あれば一覧の窓を開き、一つならそれを起動します。
  FILE                アーカイブ (.calcskin, .zip, .lzh, .7z, .tar.gz など) か
                      フォルダのスキンを取り込み、起動します。
  --import FILE       FILE のスキンを取り込み、その NAME を表示します。
  --export NAME FILE  スキン NAME を .calcskin の FILE に書き出します。
  --list              スキンの NAME を一行に一つ表示します。
  --run NAME          スキン NAME の電卓を起動します。
  --wizard [NAME]     電卓 ｳｨｻﾞｰﾄﾞで新しいスキンを作ります。NAME があれば
                      そのスキンを編集します。
  --shelf             スキンの一覧の窓を開きます。
  --last [FILE]       最後に起動したスキンを起動します。FILE があれば取り込んで
                      起動します。
  --folder            最後に起動したスキンのフォルダを表示します。
  --open-folder       最後に起動したスキンのフォルダを開きます。
  -h, --help          この説明を表示します。
  -v, --version       バージョンを表示します。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使い方: picturecalc [--import FILE | --export NAME FILE | --list | --run NAME | --wizard [NAME] | --folder | --open-folder | --shelf | --last [FILE] | FILE]
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureProblem</name>
    <message>
        <source>%1 のどれかにしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この形式（%1）の画像は使えません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコンのファイルではありません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShelfModel</name>
    <message>
        <source>スキン「%1」: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>読めません</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShelfWindow</name>
    <message>
        <source>元に戻す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前で絞り込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」は起動中です。電卓を終了して、削除しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>削除中…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」の電卓が終了しないため、削除できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ごみ箱が使えないため、「%1」をごみ箱に移せません。元に戻せないように削除しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」は起動中のため、名前を変えられません。電卓を閉じてから変えてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」の新しい名前:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>複製中…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>電卓スキン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべてのファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいスキン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編集</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取り込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>音を鳴らす</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>書き出し中…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取り込み中…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」を削除しますか？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SkinWizard</name>
    <message>
        <source>このフォルダーのスキンを編集します（calc.dat を読み込んで始めます）。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StandardOptions</name>
    <message>
        <source>この説明を表示します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョンを表示します。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Thumbnailer</name>
    <message>
        <source>スキンの電卓の姿を縮小画像にします。ファイルマネージャーが .calcskin の縮小画像を作るときに使います。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縮小画像の幅と高さの大きい方 (1～1024 ピクセル)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.calcskin のファイル。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>書き出す PNG のファイル。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一時フォルダを作れません。</source>
        <translation>cannot make a temporary folder</translation>
    </message>
    <message>
        <source>「%1」を書き込めません。</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>「%1」の縮小画像を作れません。</source>
        <translation>the skin could not be shown in time and memory</translation>
    </message>
    <message>
        <source>「%1」: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使い方: picturecalc-thumbnailer SIZE SKIN PNG (SIZE は 1～1024)
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkPanel</name>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>skins</name>
    <message>
        <source>「%1」はスキンの書庫でもフォルダでもありません。</source>
        <translation>%1 is neither a skin archive nor a folder</translation>
    </message>
    <message>
        <source>「%1」を読めません。</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>「%1」は壊れているか、途中で切れています。</source>
        <translation>%1 is corrupt or truncated</translation>
    </message>
    <message>
        <source>「%1」には、外を指す名前「%2」があります。</source>
        <translation>%1 holds a name leading outside it: %2</translation>
    </message>
    <message>
        <source>「%1」には、リンク「%2」があります。</source>
        <translation>%1 holds a link: %2</translation>
    </message>
    <message>
        <source>「%1」には、特殊なファイル「%2」があります。</source>
        <translation>%1 holds a device or other special file: %2</translation>
    </message>
    <message>
        <source>「%1」には、大文字と小文字の違いしかない名前「%2」と「%3」があります。</source>
        <translation>%1 holds names that differ only by case: %2, %3</translation>
    </message>
    <message>
        <source>「%1」の「%2」は暗号化されています。</source>
        <translation>%2 in %1 is encrypted</translation>
    </message>
    <message>
        <source>「%1」は、ファイルが多すぎます (%2 個まで)。</source>
        <translation>%1 holds more than %2 entries</translation>
    </message>
    <message>
        <source>「%1」の「%2」が大きすぎます (%3 MB まで)。</source>
        <translation>%2 in %1 is larger than %3 MB</translation>
    </message>
    <message>
        <source>「%1」は、展開すると大きすぎます (%2 MB まで)。</source>
        <translation>%1 unpacks to more than %2 MB</translation>
    </message>
    <message>
        <source>「%1」には、calc.dat が二つあります (「%2」と「%3」)。</source>
        <translation>%1 holds more than one calc.dat: %2, %3</translation>
    </message>
    <message>
        <source>「%1」は空です。</source>
        <translation>%1 is empty</translation>
    </message>
    <message>
        <source>「%1」には、calc.dat がありません。</source>
        <translation>%1 holds no calc.dat</translation>
    </message>
    <message>
        <source>「%1」の calc.dat を読めません。%2</source>
        <translation>cannot read calc.dat in %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません。</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>%1 に書き込めません。%2</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>スキン「%1」はありません。</source>
        <translation>no skin named %1</translation>
    </message>
    <message>
        <source>「%1」は、もうごみ箱にありません。</source>
        <translation>%1 is no longer in the trash</translation>
    </message>
    <message>
        <source>「%1」という題名のスキンが %2 個あります (フォルダ「%3」)。どれか一つをフォルダ名で指定してください。</source>
        <translation>%2 skins are titled %1 (folders %4); give one by its folder name</translation>
    </message>
    <message>
        <source>名前を入れてください。</source>
        <translation>the name is empty</translation>
    </message>
    <message>
        <source>「%1」は長すぎます。名前は %2 文字までです。</source>
        <translation>%1 is longer than %2 characters</translation>
    </message>
    <message>
        <source>「%1」の文字「%2」は calc.dat に書けません (Shift-JIS にない文字です)。</source>
        <translation>%2 in %1 has no code in Shift-JIS</translation>
    </message>
    <message>
        <source>「%1」という名前のスキンは既にあります。</source>
        <translation>a skin is named %1 already</translation>
    </message>
    <message>
        <source>HOME が設定されていません。</source>
        <translation>HOME is not set.</translation>
    </message>
    <message>
        <source>%1 を起動できません。</source>
        <translation>cannot run %1</translation>
    </message>
    <message>
        <source>取りやめました。</source>
        <translation>stopped</translation>
    </message>
</context>
</TS>
