<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Orvane</name>
    <message>
        <source>%1 (%2, %3 行)</source>
        <translation>%1 (%2, line %3)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
は通常のファイルではありません</source>
        <translation>%1<byte value="xd"/>
is not a regular file</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
に書き込みできませんでした</source>
        <translation>Could not write to<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>未設定</source>
        <translation>Not set</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>untitled</translation>
    </message>
    <message>
        <source>%1 - プロジェクト情報</source>
        <translation>%1 - Project</translation>
    </message>
    <message>
        <source>%1 に書き込めません<byte value="xd"/>
改行を含む項目は保存できません: %2</source>
        <translation>Cannot write to %1<byte value="xd"/>
An entry with a line break cannot be saved: %2</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
    <message>
        <source>トップページを指定してください</source>
        <translation>Mark the top page</translation>
    </message>
    <message>
        <source>ディレクトリが存在しません<byte value="xd"/>
%1</source>
        <translation>The folder does not exist<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>無効リンクを含むファイルの数 %1<byte value="xd"/>
無効リンクの総数 %2</source>
        <translation>Files with invalid links %1<byte value="xd"/>
Invalid links in all %2</translation>
    </message>
    <message>
        <source>リンク先の有無をチェック中</source>
        <translation>Checking link targets</translation>
    </message>
    <message>
        <source>処理中</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
が見つかりません</source>
        <translation>%1<byte value="xd"/>
was not found</translation>
    </message>
    <message>
        <source>%1 - ファイルイメージのセット中</source>
        <translation>%1 - setting the file icon</translation>
    </message>
    <message>
        <source>%1 - コメント削除中</source>
        <translation>%1 - removing comments</translation>
    </message>
    <message>
        <source>%1 - リンク抜き出し中</source>
        <translation>%1 - extracting links</translation>
    </message>
    <message>
        <source>%1 - アンカー抜き出し中</source>
        <translation>%1 - extracting anchors</translation>
    </message>
    <message>
        <source>フォルダの色をセット中</source>
        <translation>Colouring the folders</translation>
    </message>
    <message>
        <source>ファイルの依存関係をチェック中</source>
        <translation>Following the links between files</translation>
    </message>
    <message>
        <source>シンボリックリンクのリンク先がありません<byte value="xd"/>
%1</source>
        <translation>The target of the symbolic link is missing<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>ファイルをオープンできません<byte value="xd"/>
%1</source>
        <translation>Cannot open the file<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>メモリーを確保できません</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
はホームフォルダの中にないため削除しません</source>
        <translation>%1<byte value="xd"/>
is not inside the home folder and is not deleted</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
はシンボリックリンク %2 を通るため削除しません</source>
        <translation>%1<byte value="xd"/>
is reached through the symbolic link %2 and is not deleted</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
は別のファイルシステム (%2) にあるため削除しません</source>
        <translation>%1<byte value="xd"/>
is on another file system (%2) and is not deleted</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
の中に別のファイルシステムがマウントされているため削除しません<byte value="xd"/>
%2</source>
        <translation>%1<byte value="xd"/>
holds another mounted file system and is not deleted<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>予期せぬエラーです。(T_T)</source>
        <translation>An unexpected error occurred. (T_T)</translation>
    </message>
    <message>
        <source>外部アプリケーション<byte value="xd"/>
%1<byte value="xd"/>
を開けません</source>
        <translation>Cannot start the external application<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>外部アプリケーションが設定されておらず、この種類のファイルを開く既定のアプリケーションもありません。<byte value="xd"/>
「Config」の「外部アプリケーション」で指定してください。</source>
        <translation>No external application is set, and the desktop has no default application for this kind of file.<byte value="xd"/>
Set one under &quot;External applications&quot; in &quot;Config&quot;.</translation>
    </message>
    <message>
        <source>行へジャンプするには「Config」でエディタを指定してください</source>
        <translation>To jump to the line, set an editor in &quot;Config&quot;</translation>
    </message>
    <message>
        <source>ファイルへの書き込み時にエラーが置きました。<byte value="xd"/>
ファイルが読み取り専用の可能性があります</source>
        <translation>An error occurred while writing the file.<byte value="xd"/>
The file may be read-only</translation>
    </message>
    <message>
        <source>置換が完了しました</source>
        <translation>The text was replaced</translation>
    </message>
    <message>
        <source>フォルダ&apos;%1&apos;を削除します<byte value="xd"/>
よろしいですか？</source>
        <translation>The folder &apos;%1&apos; will be deleted<byte value="xd"/>
Are you sure?</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
の削除に失敗しました</source>
        <translation>Could not delete<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>&apos;%1&apos;を削除します<byte value="xd"/>
よろしいですか？</source>
        <translation>&apos;%1&apos; will be deleted<byte value="xd"/>
Are you sure?</translation>
    </message>
    <message>
        <source>ファイルを削除できませんでした</source>
        <translation>Could not delete the file</translation>
    </message>
    <message>
        <source>TOPマークの削除中</source>
        <translation>Removing the top marks</translation>
    </message>
    <message>
        <source>指定したアイテムは削除できません</source>
        <translation>This item cannot be deleted</translation>
    </message>
    <message>
        <source>TOPページにする</source>
        <translation>Make top page</translation>
    </message>
    <message>
        <source>TOPマークを消す</source>
        <translation>Remove top mark</translation>
    </message>
    <message>
        <source>チェック対象から外す</source>
        <translation>Exclude from the check</translation>
    </message>
    <message>
        <source>再びチェック対象にする</source>
        <translation>Include in the check again</translation>
    </message>
    <message>
        <source>このフォルダ以下をチェック対象から外す</source>
        <translation>Exclude this folder from the check</translation>
    </message>
    <message>
        <source>%1: the settings file cannot be read</source>
        <translation>%1: the settings file cannot be read</translation>
    </message>
    <message>
        <source>%1: the settings file is not a regular file</source>
        <translation>%1: the settings file is not a regular file</translation>
    </message>
    <message>
        <source>%1: the project file is not a regular file</source>
        <translation>%1: the project file is not a regular file</translation>
    </message>
    <message>
        <source>%1 が見つかりません</source>
        <translation>%1 was not found</translation>
    </message>
    <message>
        <source>%1: the project file cannot be read</source>
        <translation>%1: the project file cannot be read</translation>
    </message>
    <message>
        <source>%1: the project file names no home folder (HomeDir)</source>
        <translation>%1: the project file names no home folder (HomeDir)</translation>
    </message>
    <message>
        <source>ディレクトリが存在しません %1</source>
        <translation>The folder does not exist %1</translation>
    </message>
    <message>
        <source>%1: the folder cannot be read</source>
        <translation>%1: the folder cannot be read</translation>
    </message>
    <message>
        <source>%1: the server root is not a folder</source>
        <translation>%1: the server root is not a folder</translation>
    </message>
    <message>
        <source>warning: top page not in the site: %1</source>
        <translation>warning: top page not in the site: %1</translation>
    </message>
    <message>
        <source>the check of %1 did not finish</source>
        <translation>the check of %1 did not finish</translation>
    </message>
    <message>
        <source>Try &apos;orvane-check --help&apos; for more information.</source>
        <translation>Try &apos;orvane-check --help&apos; for more information.</translation>
    </message>
    <message>
        <source>総ファイル数 </source>
        <translation>Files </translation>
    </message>
    <message>
        <source>無効リンク: </source>
        <translation>Invalid link: </translation>
    </message>
    <message>
        <source>孤立ファイル: TOPページからリンクをたどっても届きません</source>
        <translation>Orphaned file: no path of links from the top pages reaches it</translation>
    </message>
    <message>
        <source>option needs KEY=VALUE, not &quot;%1&quot;</source>
        <translation>option needs KEY=VALUE, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--format takes text, json or github, not &quot;%1&quot;</source>
        <translation>--format takes text, json or github, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--lang takes en or ja, not &quot;%1&quot;</source>
        <translation>--lang takes en or ja, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--%1 given twice</source>
        <translation>--%1 given twice</translation>
    </message>
    <message>
        <source>--%1 needs a non-empty value</source>
        <translation>--%1 needs a non-empty value</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1 needs a value</translation>
    </message>
    <message>
        <source>unknown option &quot;%1&quot;</source>
        <translation>unknown option &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--%1 takes no value</source>
        <translation>--%1 takes no value</translation>
    </message>
    <message>
        <source>PATH is empty</source>
        <translation>PATH is empty</translation>
    </message>
    <message>
        <source>only one PATH may be given (&quot;%1&quot; and &quot;%2&quot;)</source>
        <translation>only one PATH may be given (&quot;%1&quot; and &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>no PATH given</source>
        <translation>no PATH given</translation>
    </message>
    <message>
        <source>missing file</source>
        <translation>missing file</translation>
    </message>
    <message>
        <source>missing anchor</source>
        <translation>missing anchor</translation>
    </message>
    <message>
        <source>file URL</source>
        <translation>file URL</translation>
    </message>
    <message>
        <source>invalid</source>
        <translation>invalid</translation>
    </message>
    <message>
        <source>orphaned files:</source>
        <translation>orphaned files:</translation>
    </message>
    <message>
        <source>invalid links:</source>
        <translation>invalid links:</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ブラウザーで開く</source>
        <translation>Open in browser</translation>
    </message>
    <message>
        <source>このファイルと同じファイル名の全ファイル</source>
        <translation>All files with this file name</translation>
    </message>
    <message>
        <source>このファイルと同じ拡張子の全ファイル</source>
        <translation>All files with this extension</translation>
    </message>
    <message>
        <source>削除...</source>
        <translation>Delete...</translation>
    </message>
    <message>
        <source>すべてのTOPマークを消す</source>
        <translation>Remove all top marks</translation>
    </message>
    <message>
        <source>全ノードを展開する</source>
        <translation>Expand all</translation>
    </message>
    <message>
        <source>全ノードを縮小する</source>
        <translation>Collapse all</translation>
    </message>
    <message>
        <source>プロジェクト情報を表示</source>
        <translation>Show project window</translation>
    </message>
    <message>
        <source>リンクの一覧が大きすぎます</source>
        <translation>The list of links is too large</translation>
    </message>
    <message>
        <source>残るページからのリンク %1 個が切れます:</source>
        <translation>%1 links from pages that stay will break:</translation>
    </message>
    <message>
        <source>ほか %1 ページ</source>
        <translation>and %1 more pages</translation>
    </message>
    <message>
        <source>Usage: orvane-check [OPTIONS] PATH
Checks a local web site for orphaned files and invalid links.

  PATH                    a site folder, or a project file (*.ovp) opened as
                          the program opens it
  -t, --top FILE          add a top page (relative to the home folder, or
                          absolute); repeatable
  -x, --exclude FILE      exclude a file from the check (relative to the home
                          folder, or absolute); repeatable
  -w, --wildcard PATTERN  add an ignore pattern for file names (&quot;*&quot; and &quot;?&quot;);
                          one that ends in &quot;/&quot; is a folder (relative to the
                          home folder, or absolute); repeatable
  -r, --server-root DIR   the folder that stands for the server root &quot;/&quot;
                          (relative to the current folder)
  -s, --settings FILE     read the sixteen options from this INI file instead
                          of the program&apos;s settings file
  -o, --option KEY=VALUE  override one option by its INI key, as a line of
                          the settings file would set it (e.g. IgnoreCase=1);
                          repeatable
  -f, --format FORMAT     the report&apos;s form: text (the default), json, or
                          github (workflow annotations for a CI log)
      --json              the same as --format json
      --referrers FILE    print only the pages that link to FILE (relative
                          to the home folder, or absolute), with the line of
                          the first such link and the page&apos;s state
      --referrers-all     the JSON report lists the pages that link to each
                          file
  -q, --quiet             no progress display, and no warnings: standard
                          error carries errors only
      --lang LANG         the language of the report and the messages: en
                          or ja (default: the Language setting, or else the
                          locale: Japanese for ja and for C/POSIX)
  -h, --help              print this help and exit
      --version           print the version and exit

With a folder and no --top, the file named by DefaultFileName in the folder
is the top page when it exists. With a project file, the top pages, exclusions
and patterns given here are added to the project&apos;s own, and --server-root
replaces its server root. Nothing is ever written back.

Option keys: ExternalEditor, ExternalViewer, IgnoreCase, DefaultFileName,
isSpaceValid, CommandLineOption, TagJumpCommandLineOption, AnchorMakesFileBlue,
CheckLocalFile, IgnoreHTMLInfo, IgnoreJavaScript, HideInfoBoxAfterCheck
(no effect here), ExtListHTML, ExtListImg, ModernLinks (1, the default: links
as today&apos;s browsers follow them, with element ids and &quot;#top&quot; as fragment
targets, percent escapes and &quot;&amp;amp;&quot; decoded and quoted refresh targets
unquoted; 0: the classic rules alone), Language (0, the default: as the
locale says; 1 Japanese; 2 English).

Text report (paths relative to the home folder):
  無効リンクを含むファイルの数 N
  無効リンクの総数 M
  orphaned files:
  FILE                    one line per orphaned file
  invalid links:
  PAGE:LINE: LINK (WHY)   one line per distinct invalid link of a page, in
                          the order the page first names them; LINE is where
                          it first stands, WHY is &quot;missing file&quot;, &quot;missing
                          anchor&quot; (the file is there, the fragment is not) or
                          &quot;file URL&quot; (while CheckLocalFile is 0); then (+N)
                          when the page names it N more times
Control characters in names and links are shown as \t, \n, \r or \xNN.

GitHub report (paths relative to the current folder): the two summary
lines, then
  ::error file=PAGE,line=N::無効リンク: LINK
                          one per invalid link of a page, at the line where
                          it first stands (no line= when it is not found)
  ::warning file=FILE::孤立ファイル: ...
                          one per orphaned file
with &quot;%&quot;, CR and LF in texts (and &quot;:&quot; and &quot;,&quot; in paths) written as %25, %0D,
%0A, %3A and %2C.

JSON report: homeDir, fileCount, filesWithInvalidLinks, invalidLinkTotal,
orphans, attentionFolders and files (path, kind, state, ignored, blue, valid,
invalid, external, anchors with name and referenced).

Exit status: 0 when no page has invalid links and no file is orphaned,
1 when there are findings, 2 for bad usage or a folder or project file that
cannot be read.
</source>
        <translation>Usage: orvane-check [OPTIONS] PATH
Checks a local web site for orphaned files and invalid links.

  PATH                    a site folder, or a project file (*.ovp) opened as
                          the program opens it
  -t, --top FILE          add a top page (relative to the home folder, or
                          absolute); repeatable
  -x, --exclude FILE      exclude a file from the check (relative to the home
                          folder, or absolute); repeatable
  -w, --wildcard PATTERN  add an ignore pattern for file names (&quot;*&quot; and &quot;?&quot;);
                          one that ends in &quot;/&quot; is a folder (relative to the
                          home folder, or absolute); repeatable
  -r, --server-root DIR   the folder that stands for the server root &quot;/&quot;
                          (relative to the current folder)
  -s, --settings FILE     read the sixteen options from this INI file instead
                          of the program&apos;s settings file
  -o, --option KEY=VALUE  override one option by its INI key, as a line of
                          the settings file would set it (e.g. IgnoreCase=1);
                          repeatable
  -f, --format FORMAT     the report&apos;s form: text (the default), json, or
                          github (workflow annotations for a CI log)
      --json              the same as --format json
      --referrers FILE    print only the pages that link to FILE (relative
                          to the home folder, or absolute), with the line of
                          the first such link and the page&apos;s state
      --referrers-all     the JSON report lists the pages that link to each
                          file
  -q, --quiet             no progress display, and no warnings: standard
                          error carries errors only
      --lang LANG         the language of the report and the messages: en
                          or ja (default: the Language setting, or else the
                          locale: Japanese for ja and for C/POSIX)
  -h, --help              print this help and exit
      --version           print the version and exit

With a folder and no --top, the file named by DefaultFileName in the folder
is the top page when it exists. With a project file, the top pages, exclusions
and patterns given here are added to the project&apos;s own, and --server-root
replaces its server root. Nothing is ever written back.

Option keys: ExternalEditor, ExternalViewer, IgnoreCase, DefaultFileName,
isSpaceValid, CommandLineOption, TagJumpCommandLineOption, AnchorMakesFileBlue,
CheckLocalFile, IgnoreHTMLInfo, IgnoreJavaScript, HideInfoBoxAfterCheck
(no effect here), ExtListHTML, ExtListImg, ModernLinks (1, the default: links
as today&apos;s browsers follow them, with element ids and &quot;#top&quot; as fragment
targets, percent escapes and &quot;&amp;amp;&quot; decoded and quoted refresh targets
unquoted; 0: the classic rules alone), Language (0, the default: as the
locale says; 1 Japanese; 2 English).

Text report (paths relative to the home folder):
  Files with invalid links N
  Invalid links in all M
  orphaned files:
  FILE                    one line per orphaned file
  invalid links:
  PAGE:LINE: LINK (WHY)   one line per distinct invalid link of a page, in
                          the order the page first names them; LINE is where
                          it first stands, WHY is &quot;missing file&quot;, &quot;missing
                          anchor&quot; (the file is there, the fragment is not) or
                          &quot;file URL&quot; (while CheckLocalFile is 0); then (+N)
                          when the page names it N more times
Control characters in names and links are shown as \t, \n, \r or \xNN.

GitHub report (paths relative to the current folder): the two summary
lines, then
  ::error file=PAGE,line=N::Invalid link: LINK
                          one per invalid link of a page, at the line where
                          it first stands (no line= when it is not found)
  ::warning file=FILE::Orphaned file: ...
                          one per orphaned file
with &quot;%&quot;, CR and LF in texts (and &quot;:&quot; and &quot;,&quot; in paths) written as %25, %0D,
%0A, %3A and %2C.

JSON report: homeDir, fileCount, filesWithInvalidLinks, invalidLinkTotal,
orphans, attentionFolders and files (path, kind, state, ignored, blue, valid,
invalid, external, anchors with name and referenced).

Exit status: 0 when no page has invalid links and no file is orphaned,
1 when there are findings, 2 for bad usage or a folder or project file that
cannot be read.
</translation>
    </message>
    <message>
        <source>no page links here</source>
        <translation>no page links here</translation>
    </message>
    <message>
        <source>every page linking here is itself orphaned or excluded</source>
        <translation>every page linking here is itself orphaned or excluded</translation>
    </message>
    <message>
        <source>pages linking to </source>
        <translation>pages linking to </translation>
    </message>
    <message>
        <source>orphaned: </source>
        <translation>orphaned: </translation>
    </message>
</context>
<context>
    <name>orvane::AboutDialog</name>
    <message>
        <source>Orvaneについて</source>
        <translation>About Orvane</translation>
    </message>
    <message>
        <source>このソフトウェアはフリーウェアです。</source>
        <translation>This software is freeware.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>MyPage</source>
        <translation>MyPage</translation>
    </message>
    <message>
        <source>E-Mail</source>
        <translation>E-Mail</translation>
    </message>
</context>
<context>
    <name>orvane::LinkMenu</name>
    <message>
        <source>文字列の置換...</source>
        <translation>Replace text...</translation>
    </message>
    <message>
        <source>文字列へのタグジャンプ</source>
        <translation>Jump to the text</translation>
    </message>
</context>
<context>
    <name>orvane::MainWindow</name>
    <message>
        <source>ホームページのフォルダをドロップして下さい</source>
        <translation>Drop your home page&apos;s folder here</translation>
    </message>
    <message>
        <source>HTMLファイルの情報</source>
        <translation>HTML file</translation>
    </message>
    <message>
        <source>&amp;Folder</source>
        <translation>&amp;Folder</translation>
    </message>
    <message>
        <source>ホームページのフォルダを開く</source>
        <translation>Open the home page&apos;s folder</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Projectファイルを開く</source>
        <translation>Open a project file</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Projectファイルの保存</source>
        <translation>Save the project file</translation>
    </message>
    <message>
        <source>&amp;Reopen</source>
        <translation>&amp;Reopen</translation>
    </message>
    <message>
        <source>現在のフォルダを開き直す</source>
        <translation>Open the current folder again</translation>
    </message>
    <message>
        <source>&amp;Halt</source>
        <translation>&amp;Halt</translation>
    </message>
    <message>
        <source>&amp;Config</source>
        <translation>&amp;Config</translation>
    </message>
    <message>
        <source>いろいろ設定する</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Orvaneについて</source>
        <translation>About Orvane</translation>
    </message>
    <message>
        <source>指定フォルダ以下の全ファイル</source>
        <translation>All files below the folder</translation>
    </message>
    <message>
        <source>有効リンク</source>
        <translation>Valid links</translation>
    </message>
    <message>
        <source>無効リンク</source>
        <translation>Invalid links</translation>
    </message>
    <message>
        <source>外部リンク</source>
        <translation>External links</translation>
    </message>
    <message>
        <source>count</source>
        <translation>count</translation>
    </message>
    <message>
        <source>総ファイル数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>ホームページのフォルダを指定して下さい</source>
        <translation>Choose the home page&apos;s folder</translation>
    </message>
    <message>
        <source>プロジェクトファイルを開く</source>
        <translation>Open project file</translation>
    </message>
    <message>
        <source>Orvaneプロジェクトファイル(*.ovp)</source>
        <translation>Orvane project files (*.ovp)</translation>
    </message>
    <message>
        <source>すべてのファイル(*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>プロジェクトファイルを保存</source>
        <translation>Save project file</translation>
    </message>
    <message>
        <source>このファイルへのリンク</source>
        <translation>Links to this file</translation>
    </message>
</context>
<context>
    <name>orvane::ProjectWindow</name>
    <message>
        <source>プロジェクト情報</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>TOPファイル</source>
        <translation>Top pages</translation>
    </message>
    <message>
        <source>チェック対象から外すファイル</source>
        <translation>Files excluded from the check</translation>
    </message>
    <message>
        <source>ファイルをダブルクリックすると、該当ファイルへジャンプします</source>
        <translation>Double-click a file to go to it in the tree</translation>
    </message>
    <message>
        <source>サーバーのルートに対応するフォルダを指定して下さい</source>
        <translation>Choose the folder that stands for the server&apos;s root</translation>
    </message>
    <message>
        <source>存在を無視するフォルダを指定してください</source>
        <translation>Choose a folder to ignore</translation>
    </message>
    <message>
        <source>未設定</source>
        <translation>Not set</translation>
    </message>
    <message>
        <source>ホームページのフォルダ</source>
        <translation>Home page&apos;s folder</translation>
    </message>
    <message>
        <source>サーパーのルートに対応するフォルダ(管理者向け)</source>
        <translation>Folder of the server&apos;s root (for site administrators)</translation>
    </message>
    <message>
        <source>存在を無視するファイル（ワイルドカード指定）とフォルダ</source>
        <translation>Files (wildcards) and folders to ignore</translation>
    </message>
    <message>
        <source>ファイル追加</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>フォルダ追加...</source>
        <translation>Add folder...</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>orvane::QtHost</name>
    <message>
        <source>count </source>
        <translation>count </translation>
    </message>
    <message>
        <source>総ファイル数 </source>
        <translation>Files </translation>
    </message>
    <message>
        <source>大文字小文字だけが違います: %1</source>
        <translation>Differs only in letter case: %1</translation>
    </message>
    <message>
        <source>移動した可能性: %1</source>
        <translation>Possibly moved: %1</translation>
    </message>
    <message>
        <source>もしかして: #%1</source>
        <translation>Did you mean: #%1</translation>
    </message>
    <message>
        <source>どのページからもリンクされていません</source>
        <translation>No page links here</translation>
    </message>
    <message>
        <source>リンク元はすべて孤立ファイルか除外ファイルです</source>
        <translation>Every page linking here is itself orphaned or excluded</translation>
    </message>
</context>
<context>
    <name>orvane::ReplaceDialog</name>
    <message>
        <source>文字列の置換</source>
        <translation>Replace text</translation>
    </message>
    <message>
        <source>ファイル名 :</source>
        <translation>File name :</translation>
    </message>
    <message>
        <source>置換前</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>置換前の文字列</source>
        <translation>Text to replace</translation>
    </message>
    <message>
        <source>置換後</source>
        <translation>After</translation>
    </message>
    <message>
        <source>注意！</source>
        <translation>Note!</translation>
    </message>
    <message>
        <source>置換される文字列は、タグで挟まれているリンク先</source>
        <translation>Every occurrence of the text is replaced, not only</translation>
    </message>
    <message>
        <source>だけではなく、すべての文字列が置換されます</source>
        <translation>the link targets inside tags</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orvane::SettingsDialog</name>
    <message>
        <source>候補</source>
        <translation>Found</translation>
    </message>
    <message>
        <source>このコンピューターで見つかったエディタから選ぶ</source>
        <translation>Choose from the editors found on this computer</translation>
    </message>
    <message>
        <source>よく使われるエディタは見つかりませんでした</source>
        <translation>No common editor was found</translation>
    </message>
    <message>
        <source>Orvane - 設定</source>
        <translation>Orvane - Settings</translation>
    </message>
    <message>
        <source>外部アプリケーション</source>
        <translation>External applications</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>Extensions</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>画像ビューア</source>
        <translation>Image viewer</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>HTMLファイルを編集するエディタ</source>
        <translation>Editor for HTML files</translation>
    </message>
    <message>
        <source>通常のコマンドラインオプション</source>
        <translation>Command-line options</translation>
    </message>
    <message>
        <source>タグジャンプ時のオプション</source>
        <translation>Options for a jump to a line</translation>
    </message>
    <message>
        <source>コマンドラインオプションは、以下のように展開されます</source>
        <translation>The command-line options are filled in like this:</translation>
    </message>
    <message>
        <source>%F → ファイル名</source>
        <translation>%F → file name</translation>
    </message>
    <message>
        <source>%N → 行番号</source>
        <translation>%N → line number</translation>
    </message>
    <message>
        <source>例えば秀丸の場合、コマンドラインオプションを</source>
        <translation>For example, for an editor that takes /j&lt;line&gt;, set</translation>
    </message>
    <message>
        <source>タグジャンプ時のオプションを</source>
        <translation>as the command-line options and</translation>
    </message>
    <message>
        <source>としてください。</source>
        <translation>as the options for a jump to a line.</translation>
    </message>
    <message>
        <source>HTMLファイルとして認識される拡張子</source>
        <translation>Extensions of HTML files</translation>
    </message>
    <message>
        <source>イメージファイルとして認識される拡張子</source>
        <translation>Extensions of image files</translation>
    </message>
    <message>
        <source>デフォルトに戻す</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>暗黙のファイル名</source>
        <translation>Default file name</translation>
    </message>
    <message>
        <source>ファイル名の大文字/小文字を区別しない</source>
        <translation>Ignore the case of file names</translation>
    </message>
    <message>
        <source>スペースの入ったファイル名も認識させる</source>
        <translation>Accept file names with spaces</translation>
    </message>
    <message>
        <source>参照されていないアンカーを持ったHTMLファイルも青く表示</source>
        <translation>Show HTML files with unreferenced anchors in blue too</translation>
    </message>
    <message>
        <source>チェック対象から外したHTMLファイルの情報を読み込まない（高速）</source>
        <translation>Do not read HTML files excluded from the check (faster)</translation>
    </message>
    <message>
        <source>&lt;A HREF=&quot;JavaScript:...&quot;&gt;は、抜き出さない</source>
        <translation>Skip &lt;A HREF=&quot;JavaScript:...&quot;&gt;</translation>
    </message>
    <message>
        <source>id属性・%エスケープ・#top も解釈する（現在のHTML）</source>
        <translation>Follow id attributes, % escapes and #top (today&apos;s HTML)</translation>
    </message>
    <message>
        <source>チェック終了後の情報ダイアログを出さない</source>
        <translation>No summary box after a check</translation>
    </message>
    <message>
        <source>file://で始まるリンクの扱い</source>
        <translation>Links that start with file://</translation>
    </message>
    <message>
        <source>無条件に、無効リンクと見なす</source>
        <translation>Always count as invalid links</translation>
    </message>
    <message>
        <source>ファイルの存在チェックを行う</source>
        <translation>Check that the file exists</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect the next time Orvane starts</translation>
    </message>
</context>
<context>
    <name>orvane::TreeMenu</name>
    <message>
        <source>まとめてチェック対象から外す</source>
        <translation>Exclude from the check all at once</translation>
    </message>
</context>
</TS>
