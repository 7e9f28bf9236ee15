// The add-in's own texts in code page 932, each with its reading in a comment.
// Generated once by hand from the readings; tests pin the bytes that matter.
#pragma once

namespace res {

inline constexpr char kPaneName[] = "\x83\x81\x81[\x83\x8B \x83]\x83\x8B\x83J";  // メール ゾルカ (the pane's name, registered with the host)
inline constexpr char kMenuReceivedInOrder[] = "\x8E\xF3\x90M\x81@\x8E\xF3\x90M\x8F\x87";  // 受信　受信順
inline constexpr char kMenuReceivedById[] = "\x8E\xF3\x90M\x81@ID\x96\x88";  // 受信　ID毎
inline constexpr char kMenuSentInOrder[] = "\x91\x97\x90M\x81@\x91\x97\x90M\x8F\x87";  // 送信　送信順
inline constexpr char kMenuSentById[] = "\x91\x97\x90M\x81@ID\x96\x88";  // 送信　ID毎
inline constexpr char kMenuBothById[] = "\x91\x97\x8E\xF3\x90M ID\x96\x88";  // 送受信 ID毎
inline constexpr char kMenuSubjectSearch[] = "\x91\xE8\x96\xBC\x82\xCC\x8C\x9F\x8D\xF5";  // 題名の検索
inline constexpr char kMenuSearchNext[] = "\x89\xBA\x8C\x9F\x8D\xF5";  // 下検索
inline constexpr char kMenuRegisterIds[] = "\x83\x81\x81[\x83\x8B\x82\xA9\x82\xE7ID\x82\xF0QOR\x82\xD6\x93o\x98^";  // メールからIDをQORへ登録
inline constexpr char kMenuExportCsv[] = "\x83\x81\x81[\x83\x8B\x82\xA9\x82\xE7ID\x82\xF0" "CSV\x8Fo\x97\xCD";  // メールからIDをCSV出力
inline constexpr char kMenuAllStock[] = "\x91S\x82\xC4\x82\xCC\x83X\x83g\x83" "b\x83N\x8C\x9F\x8D\xF5";  // 全てのストック検索
inline constexpr char kMenuAbout[] = "Korvik \xD2\xB0\xD9\xBF\xDE\xD9\xB6\x82\xC9\x82\xC2\x82\xA2\x82\xC4";  // Korvik ﾒｰﾙｿﾞﾙｶについて
inline constexpr char kReadNew[] = "\x81\x84READ NEW";  // ＞READ NEW (opens a received-mail block)
inline constexpr char kPromptMark[] = "\x81\x84";  // ＞ (a line beginning with it closes the block)
inline constexpr char kMailFolder[] = "\x93" "d\x8Eq\x83\x81\x81[\x83\x8B\x81i";  // 電子メール（ (a line holding it closes the block)
inline constexpr char kNotice[] = "\x82\xA8\x92m\x82\xE7\x82\xB9";  // お知らせ (a line holding it is no mail header)
inline constexpr char kBodyText[] = "\x96{\x95\xB6";  // 本文 (body prompt, with /E)
inline constexpr char kSendShort[] = "\x81\x84" "2";  // ＞2 (send command, short form)
inline constexpr char kSendCommand[] = "\x81\x84SMAIL";  // ＞SMAIL (send command)
inline constexpr char kWideColon[] = "\x81" "F";  // ： (separator, second choice)
inline constexpr char kLabelJoiner[] = "\x81@\x81@";  // 　　 (between recipient and subject)
inline constexpr char kReceivedPrefix[] = ">>\x8E\xF3\x90M\x81" "F ";  // >>受信：  (label prefix of a received mail)
inline constexpr char kSentPrefix[] = "<<\x91\x97\x90M\x81" "F ";  // <<送信：  (label prefix of a sent mail)
inline constexpr char kReceivedMark[] = "\x8E\xF3\x90M\x81" "F";  // 受信： (marks a received mail's label)
inline constexpr char kNotFound[] = "\x8AY\x93\x96\x82\xB7\x82\xE9\x83\x81\x81[\x83\x8B\x82\xCD\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";  // 該当するメールは見つかりませんでした。
inline constexpr char kAskRegister[] = "QOR\x82\xC9\x93o\x98^\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8\x82\xA2ID\x82\xCC\x82\xDD\x92\xC7\x89\xC1\x82\xB5\x82\xDC\x82\xB7\x81" "B";  // QORに登録されていないIDのみ追加します。
inline constexpr char kRegisterDone[] = "ID\x93o\x98^\x81@\x8FI\x97\xB9\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B";  // ID登録　終了しました。
inline constexpr char kAskExport[] = "\x95\\\x8E\xA6\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xE9ID\x82\xC6\x96\xBC\x91O\x82\xF0" "CVS\x8C`\x8E\xAE\x82\xC5\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8Fo\x82\xB5\x82\xDC\x82\xB7";  // 表示されているIDと名前をCVS形式でファイルに書き出します
inline constexpr char kExportedSuffix[] = "\x8C\x8F ID\x82\xF0\x8F\x91\x82\xAB\x8Fo\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B!!";  // 件 IDを書き出しました。!!
inline constexpr char kProgressCaption[] = "\x83\x81\x81[\x83\x8B\x82\xF0\x92T\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81" "C\x82\xB5\x82\xCE\x82\xE7\x82\xAD\x82\xA8\x91\xD2\x82\xBF\x89\xBA\x82\xB3\x82\xA2\x81" "B";  // メールを探しています，しばらくお待ち下さい。
inline constexpr char kAboutCaption[] = "\x83\x81\x81[\x83\x8B\x81@\x83]\x83\x8B\x83J\x82\xC9\x82\xC2\x82\xA2\x82\xC4";  // メール　ゾルカについて
inline constexpr char kAboutTitle[] = "Korvik\x83\x81\x81[\x83\x8B\x81@\x83]\x83\x8B\x83J";  // Korvikメール　ゾルカ
inline constexpr char kSearchCaption[] = "\x83\x81\x81[\x83\x8B\x91\xE8\x96\xBC\x82\xA9\x82\xE7\x82\xCC\x8C\x9F\x8D\xF5";  // メール題名からの検索
inline constexpr char kSearchButton[] = "\x8C\x9F\x8D\xF5";  // 検索
inline constexpr char kCancelButton[] = "\x83L\x83\x83\x83\x93\x83Z\x83\x8B";  // キャンセル
inline constexpr char kSearchLabel[] = "\x8C\x9F\x8D\xF5(&S)";  // 検索(&S)
inline constexpr char kIdSelectCaption[] = "\x92\xC7\x89\xC1\x82\xB7\x82\xE9ID\x82\xCC\x91I\x91\xF0";  // 追加するIDの選択
inline constexpr char kIdSelectCancel[] = "\xB7\xAC\xDD\xBE\xD9";  // ｷｬﾝｾﾙ
inline constexpr char kIdSelectHint[] = "\x92\xC7\x89\xC1\x82\xB5\x82\xBD\x82\xAD\x82\xC8\x82\xA2\x96\xBC\x91O\x82\xF0\x91I\x91\xF0\x89\xF0\x8F\x9C\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81" "B";  // 追加したくない名前を選択解除して下さい。
inline constexpr char kFontPGothic[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";  // ＭＳ Ｐゴシック
inline constexpr char kFontMincho[] = "\x82l\x82r \x96\xBE\x92\xA9";  // ＭＳ 明朝
inline constexpr char kSpecialThanks[] = "Spacial Thanks\x81" "F";  // Spacial Thanks：

inline constexpr char kAboutVersion[] = "Version 1.01";  // Version 1.01
inline constexpr char kAboutCredit1[] = "\x83\x8D\x83O\x82\xCC\x92\x86\x82\xCC\x83\x81\x81[\x83\x8B\x82\xF0\x92T\x82\xB7\x8D\xF5\x88\xF8";  // ログの中のメールを探す索引
inline constexpr char kAboutCredit2[] = "\x8E\xF3\x90M\x81" "E\x91\x97\x90M\x83\x81\x81[\x83\x8B\x82\xF0\x8F\x87\x94\xD4\x82\xC6ID\x96\x88\x82\xC9";  // 受信・送信メールを順番とID毎に
inline constexpr char kAboutCredit3[] = "QOR.INI\x82\xD6\x82\xCCID\x93o\x98^\x82\xC6" "CSV\x8Fo\x97\xCD";  // QOR.INIへのID登録とCSV出力
inline constexpr char kAboutCredit4[] = "Mail Zolka project 2026  \x82\xB2\x88\xD3\x8C\xA9\x82\xCD\x83v\x83\x8D\x83W\x83" "F\x83N\x83g\x82\xD6";  // Mail Zolka project 2026  ご意見はプロジェクトへ
inline constexpr char kAboutThanks1[] = "Korvik \x82\xF0\x82\xA8\x8Eg\x82\xA2\x82\xCC\x8A" "F\x97l";  // Korvik をお使いの皆様
inline constexpr char kAboutThanks2[] = "\x8E\x8E\x8C\xB1\x82\xC9\x8B\xA6\x97\xCD\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xC1\x82\xBD\x95\xFB\x81X";  // 試験に協力して下さった方々
inline constexpr char kProgressText[] = "Progress1";  // Progress1
inline constexpr char kOk[] = "OK";  // OK

inline constexpr char kRegistryFull[] = "\x8C\x8F\x82\xCCID\x82\xCD\x81" "AQOR\x82\xCCID\x93o\x98^\x82\xAA\x96\x9E\x94t(ID99\x82\xDC\x82\xC5)\x82\xCC\x82\xBD\x82\xDF\x93o\x98^\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";  // 件のIDは、QORのID登録が満杯(ID99まで)のため登録できませんでした。
inline constexpr char kRegistryNotWritten[] = "\x8C\x8F\x82\xCCID\x82\xCDQOR.INI\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";  // 件のIDはQOR.INIに書き込めませんでした。
inline constexpr char kExportFailed[] = "\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8Fo\x82\xB9\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD: ";  // ファイルに書き出せませんでした: 

}  // namespace res
