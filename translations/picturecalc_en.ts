<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Calculator</name>
    <message>
        <source>音を鳴らさずに起動します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>電卓: 絵の上で計算する電卓です。calc.dat はプログラムと同じフォルダから読みます。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalculatorWindow</name>
    <message>
        <source>ｾﾞﾛでは除算できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>計算できる範囲を超えました。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
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
    <message>
        <source>画像の選択</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCopy</name>
    <message>
        <source>ｺﾋﾟｰ元のﾌｧｲﾙを開けません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FinishPage</name>
    <message>
        <source>「電卓スキン」の「書き出し」なら、このスキンを1つのﾌｧｲﾙにして配布できます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>電卓 ｳｨｻﾞｰﾄﾞ設定ﾌｧｲﾙを生成します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次のﾌｧｲﾙを同一ﾌｫﾙﾀﾞに入れて配布して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定ﾌｧｲﾙを書き込めませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了しました。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FluidSynthBackend</name>
    <message>
        <source>内蔵音源を開けませんでした。
音声出力のドライバーがありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内蔵音源を開けませんでした。
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeySounds</name>
    <message>
        <source>Midi音源がｻﾎﾟｰﾄされていません。</source>
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
  --list              スキンの題名を一行に一つ表示します。二つ以上のスキンが
                      同じ題名なら、NAME にはその題名でなくフォルダ名を使います。
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
    <name>MidiBackend</name>
    <message>
        <source>指定されたMIDI出力が見つかりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDI出力を開けませんでした。
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PicturePage</name>
    <message>
        <source>&quot;%1&quot;入力時の画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>答え表示時の画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字入力時の画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾌﾟﾚﾋﾞｭｰ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1を選ぶ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像を選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramNames</name>
    <message>
        <source>電卓</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReadoutLabel</name>
    <message>
        <source>表示</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Shelf</name>
    <message>
        <source>標準</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>スキン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいスキン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>のコピー</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShelfModel</name>
    <message>
        <source>読めません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>スキン「%1」: </source>
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
    <name>Skinwright</name>
    <message>
        <source>電卓のスキンを作るウィザード。calc.dat をこのプログラムのフォルダーに書き込みます。</source>
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
    <name>StartPage</name>
    <message>
        <source>黒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>白</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>青</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>赤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>緑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前回の情報&#x3000;読込</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾎﾞﾀﾝ色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開始画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消費税率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>％</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコンを選ぶ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開始画像を選ぶ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像を選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消費税率は %1 から %2 までの数値で入力して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前回の情報を読み込めませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2=%3) は 0 から 5 までの色番号ではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色を選択して下さい。選択しない場合は、電卓は元の色のまま表示します。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>既に電卓は、起動しています。</source>
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
        <source>使い方: picturecalc-thumbnailer SIZE SKIN PNG (SIZE は 1～1024)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WizardPage</name>
    <message>
        <source>%1の「%2」は設定ﾌｧｲﾙに保存できない文字です。
%3
別の文字に変えて下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名が %1 文字を超えているため使えません。
%2
%1 文字以内の名前のﾌｧｲﾙを選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>電卓 ｳｨｻﾞｰﾄﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 には同じ名前の別のﾌｧｲﾙ「%2」が既にあります。
選択したﾌｧｲﾙで置き換えますか。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」を %2 にｺﾋﾟｰできませんでした（%3）。</source>
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
    <name>dialogs</name>
    <message>
        <source>はい</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>face</name>
    <message>
        <source>オールクリア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コピー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>割る</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>税込み</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>掛ける</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>税抜き</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>引く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>パーセント</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>小数点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>足す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>イコール</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>makeskin</name>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>pictures</name>
    <message>
        <source>%1 のどれかにしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルがありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが空です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この形式（%1）の画像は使えません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>大きすぎます（%1×%2）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコンのファイルではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが途中で切れています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像が壊れています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを開けません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコン「%1」を読み込めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像「%1」を読み込めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>calc.dat の %1 にアイコンのファイル名がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>calc.dat の %1 に画像のファイル名がありません。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>settings</name>
    <message>
        <source>%1 の %2 行目を読み込めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 を開けません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルの読み取り中にエラーが起きました（%1）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを開けませんでした（%1）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルがありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>読み取りの権限がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この名前はファイルではなくフォルダーです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通常のファイルではありません（デバイスやパイプなど）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 の値が空で、数値として読めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 の値「%2」は %3 から %4 までの範囲を超えています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 の値「%2」は数値ではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前が大文字と小文字だけ違うファイル「%1」があり、どれを使うか決められません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 に書き込めません。</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>%1 の値に改行が含まれています。値は 1 行で書いてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 の値「%2」の文字「%3」(%4) は Shift-JIS (コードページ 932) で表せません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダー %1 がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 はフォルダーではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダー %1 に書き込む権限がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが書き込み禁止になっています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを作れませんでした（%1）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同じ名前のフォルダーがあります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同じ名前の、通常のファイルでないものがあります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>書き込みの途中で失敗しました（%1）。以前のファイルはそのまま残っています。</source>
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
        <source>%1 に書き込めません。</source>
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
        <source>%1 を起動できません。</source>
        <translation>cannot run %1</translation>
    </message>
    <message>
        <source>取りやめました。</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>「%1」の calc.dat を読めません。</source>
        <translation>cannot read calc.dat in %1</translation>
    </message>
</context>
<context>
    <name>soundswitch</name>
    <message>
        <source>HOME が設定されていません。</source>
        <translation>HOME is not set.</translation>
    </message>
    <message>
        <source>%1 に書き込めません。</source>
        <translation>cannot write %1</translation>
    </message>
</context>
</TS>
