#!/usr/bin/env python3
"""Writes samples/session.log: an evening's session with a mail service, in code page 932.

Received mail is listed after "＞READ NEW" (header line, subject line, size line, blank line per
mail, the list closed by the mail folder line); sent mail leaves the send command, the body prompt,
the recipient line and the subject line. Chatter from forums and chat fills the rest.
"""
import pathlib

MEMBERS = [  # (ID, name)
    ("ABC01234", "山田太郎"), ("KJP55021", "佐藤花子"), ("MXQ10987", "鈴木一郎"),
    ("TTR40020", "高橋ゆかり"), ("NEK77777", "ねこまる"), ("ZOL00001", "ゾルカ事務局"),
]


def pad(text, width):
    raw = text.encode("cp932")
    return text + " " * (width - len(raw))


def header(number, member, date, time):
    ident, name = member
    line = f"{number:4d}" + pad(name, 14) + "    " + ident + f"  {date} {time}"
    return pad(line, 64)


def received_block(mails, unread_after=0):
    lines = ["＞READ NEW", " No. 差出人          ID        日付     時刻"]
    for number, (member, date, time, subject, size) in enumerate(mails, 1):
        lines += [header(number, member, date, time), subject, f"     ({size}バイト)", ""]
    lines.append(f"電子メール（未読{unread_after}件）")
    return lines


def sent_mail(command, member_id, subject, body):
    return [command, "本文を入力して下さい。終了は行頭で /E です。",
            f"宛先：{member_id}", f"題名：{subject}"] + body + ["/E", "送信しました。"]


def chatter(topic, count):
    lines = [f"＞FORUM {topic}", f"== {topic} フォーラム =="]
    for i in range(count):
        lines.append(f"#{i + 1:03d} 書き込み {i + 1}: 今日は寒いですね。皆さんお元気ですか。")
    lines.append("＞")
    return lines


def main():
    log = ["接続しました。", "ようこそ ゾルカネットへ", "ユーザーID: ZOL99999", "パスワード: ********",
           "前回の接続: 26/12/06 22:41", "＞"]
    log += received_block([
        (MEMBERS[0], "26/12/06", "20:15", "忘年会の日程について", 812),
        (MEMBERS[1], "26/12/06", "21:02", "写真を送ります", 2048),
        (MEMBERS[0], "26/12/07", "08:30", "Re: 忘年会の日程について", 640),
    ])
    log += ["＞"] + chatter("パソコン通信", 12)
    log += sent_mail("＞SMAIL", "ABC01234", "忘年会に参加します", ["山田さん", "参加します。よろしく。"])
    log += sent_mail("＞2", "KJP55021", "写真ありがとう", ["佐藤さん", "きれいな写真でした。"])
    log += chatter("旅行", 20)
    log += received_block([
        (MEMBERS[2], "26/12/07", "12:01", "会議の議事録", 3300),
        (MEMBERS[3], "26/12/07", "12:45", "年賀状の住所", 420),
        (MEMBERS[4], "26/12/07", "13:10", "にゃーん", 128),
        (MEMBERS[1], "26/12/07", "14:22", "Re: 写真ありがとう", 512),
    ])
    log += ["＞"] + chatter("グルメ", 15)
    log += sent_mail("＞SMAIL", "MXQ10987", "議事録の件", ["鈴木さん", "確認しました。"])
    log += sent_mail("＞SMAIL", "ZOL00001", "登録内容の変更", ["住所が変わりました。"])
    log += sent_mail("＞SMAIL", "ABC01234", "忘年会の会場", ["会場はどこですか。"])
    log += received_block([(MEMBERS[5], "26/12/07", "18:00", "メンテナンスのご案内", 900)])
    log += ["＞BYE", "ご利用ありがとうございました。", "切断しました。"]
    path = pathlib.Path(__file__).with_name("session.log")
    path.write_bytes("".join(line + "\r\n" for line in log).encode("cp932"))
    print(f"{path}: {len(log)} lines")


if __name__ == "__main__":
    main()
