#!/usr/bin/env python3
"""Writes the two sample vocabulary files that a new learner trains first:

    data/my_vocabulary/pcr1-10u.txt       (English translations)
    data/meine vokabeln/pcr1-10u_d.txt    (German translations)

Both come from the one table below, so they hold the same words in the same
order with the same levels, chapters and marks; only the translation differs.
The output files are committed; run this script by hand when the words change:

    python3 tools/make_samples.py

File form, as the program itself writes it: UTF-16 little-endian with the mark
FF FE, a single CR after every line (the last one included, never LF), the
header line, then one word per line with six fields joined by " + ":
level + pinyin + characters + translation + chapter + mark.
"""
import os
import re
import sys

HEADER = "CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION"
SEP = " + "
CR = "\r"
MAX_WORDS = 298          # the reader takes at most 298 word lines
MAX_BYTES = 32767        # the writer's limit, mark included

# Chapters: 1 greetings and people, 2 numbers and time, 3 family,
# 4 food and drink, 5 at home and things, 6 places and directions,
# 7 school, work and study, 8 weather, days and seasons,
# 9 shopping and money, 10 travel and transport.
# Pinyin: citation tones (no sandhi), 0 for the neutral tone, syllables of a
# word written together, words of a phrase separated by one space.
# Marks: "x" especially useful words, "v" core verbs, empty for the rest.
#
# (pinyin, characters, English, German, chapter, level, mark)
WORDS = [
    # 1 greetings and people
    ("ni3hao3", "你好", "hello", "hallo", 1, 3, "x"),
    ("nin2", "您", "you (polite)", "Sie (höflich)", 1, 1, ""),
    ("xie4xie0", "谢谢", "thank you", "danke", 1, 3, "x"),
    ("bu4 ke4qi0", "不客气", "you're welcome", "gern geschehen", 1, 1, ""),
    ("dui4bu0qi3", "对不起", "sorry", "Entschuldigung", 1, 2, "x"),
    ("mei2 guan1xi0", "没关系", "it doesn't matter", "das macht nichts", 1, 1, ""),
    ("zai4jian4", "再见", "goodbye", "auf Wiedersehen", 1, 2, "x"),
    ("qing3", "请", "please", "bitte", 1, 1, "x"),
    ("qing3 zuo4", "请坐", "please sit down", "bitte setzen Sie sich", 1, 0, ""),
    ("wo3", "我", "I, me", "ich, mich", 1, 3, ""),
    ("ni3", "你", "you", "du, dich", 1, 3, ""),
    ("ta1", "他", "he, him", "er, ihn", 1, 2, ""),
    ("ta1", "她", "she, her", "sie (Frau)", 1, 2, ""),
    ("wo3men0", "我们", "we, us", "wir, uns", 1, 1, ""),
    ("ren2", "人", "person, people", "Mensch, Leute", 1, 1, ""),
    ("peng2you0", "朋友", "friend", "Freund", 1, 1, ""),
    ("xian1sheng0", "先生", "Mr., sir", "Herr", 1, 0, ""),
    ("nü3shi4", "女士", "Ms., madam", "Frau (Anrede)", 1, 0, ""),
    ("ming2zi0", "名字", "name", "Name", 1, 1, ""),
    ("jiao4", "叫", "to be called", "heißen", 1, 1, ""),
    ("wo3 jiao4", "我叫", "my name is ...", "ich heiße ...", 1, 2, "x"),
    ("shi4", "是", "to be", "sein", 1, 2, "v"),
    ("ren4shi0", "认识", "to know (a person)", "kennen", 1, 0, ""),
    ("gao1xing4", "高兴", "glad, happy", "froh, erfreut", 1, 0, ""),
    ("zhong1guo2", "中国", "China", "China", 1, 1, ""),
    ("zhong1guo2ren2", "中国人", "Chinese (person)", "Chinese, Chinesin", 1, 0, ""),
    ("shei2", "谁", "who", "wer", 1, 1, ""),
    ("shen2me0", "什么", "what", "was", 1, 1, ""),
    ("ma0", "吗", "question particle", "Fragepartikel", 1, 1, ""),
    ("hao3", "好", "good, well", "gut", 1, 2, ""),
    # 2 numbers and time
    ("ling2", "零", "zero", "null", 2, 0, ""),
    ("yi1", "一", "one", "eins", 2, 3, ""),
    ("er4", "二", "two", "zwei", 2, 3, ""),
    ("san1", "三", "three", "drei", 2, 2, ""),
    ("si4", "四", "four", "vier", 2, 2, ""),
    ("wu3", "五", "five", "fünf", 2, 1, ""),
    ("liu4", "六", "six", "sechs", 2, 1, ""),
    ("qi1", "七", "seven", "sieben", 2, 1, ""),
    ("ba1", "八", "eight", "acht", 2, 1, ""),
    ("jiu3", "九", "nine", "neun", 2, 0, ""),
    ("shi2", "十", "ten", "zehn", 2, 1, ""),
    ("bai3", "百", "hundred", "hundert", 2, 0, ""),
    ("qian1", "千", "thousand", "tausend", 2, 0, ""),
    ("liang3", "两", "two (before a measure word)", "zwei (vor Zählwörtern)", 2, 0, ""),
    ("ge4", "个", "measure word (general)", "Zählwort (allgemein)", 2, 1, ""),
    ("ji3", "几", "how many (small number)", "wie viele (kleine Zahl)", 2, 0, "x"),
    ("dian3", "点", "o'clock", "Uhr (Uhrzeit)", 2, 1, ""),
    ("fen1", "分", "minute", "Minute", 2, 0, ""),
    ("ban4", "半", "half", "halb", 2, 0, ""),
    ("xiao3shi2", "小时", "hour", "Stunde", 2, 0, ""),
    ("xian4zai4", "现在", "now", "jetzt", 2, 1, "x"),
    ("shi2hou0", "时候", "time, moment", "Zeit, Zeitpunkt", 2, 0, ""),
    ("nian2", "年", "year", "Jahr", 2, 0, ""),
    ("sui4", "岁", "years old", "Jahre alt", 2, 0, ""),
    # 3 family
    ("jia1", "家", "family, home", "Familie, Zuhause", 3, 1, ""),
    ("ba4ba0", "爸爸", "dad", "Papa", 3, 2, ""),
    ("ma1ma0", "妈妈", "mum", "Mama", 3, 2, ""),
    ("ge1ge0", "哥哥", "older brother", "älterer Bruder", 3, 1, ""),
    ("jie3jie0", "姐姐", "older sister", "ältere Schwester", 3, 1, ""),
    ("di4di0", "弟弟", "younger brother", "jüngerer Bruder", 3, 0, ""),
    ("mei4mei0", "妹妹", "younger sister", "jüngere Schwester", 3, 0, ""),
    ("er2zi0", "儿子", "son", "Sohn", 3, 0, ""),
    ("nü3er2", "女儿", "daughter", "Tochter", 3, 0, ""),
    ("hai2zi0", "孩子", "child", "Kind", 3, 1, ""),
    ("zhang4fu0", "丈夫", "husband", "Ehemann", 3, 0, ""),
    ("qi1zi0", "妻子", "wife", "Ehefrau", 3, 0, ""),
    ("ye2ye0", "爷爷", "grandpa (father's father)", "Opa (Vater des Vaters)", 3, 0, ""),
    ("nai3nai0", "奶奶", "grandma (father's mother)", "Oma (Mutter des Vaters)", 3, 0, ""),
    ("nan2", "男", "male", "männlich", 3, 1, ""),
    ("nü3", "女", "female", "weiblich", 3, 1, ""),
    ("nian2qing1", "年轻", "young", "jung", 3, 0, ""),
    ("you3", "有", "to have, there is", "haben, es gibt", 3, 2, "v"),
    ("ai4", "爱", "to love", "lieben", 3, 1, ""),
    ("wo3 ai4 ni3", "我爱你", "I love you", "ich liebe dich", 3, 1, ""),
    ("de0", "的", "possessive particle", "Partikel (Besitz)", 3, 1, ""),
    ("dou1", "都", "all, both", "alle, beide", 3, 0, ""),
    # 4 food and drink
    ("chi1", "吃", "to eat", "essen", 4, 2, "v"),
    ("he1", "喝", "to drink", "trinken", 4, 2, "v"),
    ("fan4", "饭", "meal", "Mahlzeit, Essen", 4, 1, ""),
    ("mi3fan4", "米饭", "cooked rice", "Reis (gekocht)", 4, 1, ""),
    ("zuo4fan4", "做饭", "to cook", "kochen", 4, 0, ""),
    ("shui3", "水", "water", "Wasser", 4, 2, "x"),
    ("cha2", "茶", "tea", "Tee", 4, 1, ""),
    ("ka1fei1", "咖啡", "coffee", "Kaffee", 4, 1, ""),
    ("niu2nai3", "牛奶", "milk", "Milch", 4, 0, ""),
    ("pi2jiu3", "啤酒", "beer", "Bier", 4, 1, ""),
    ("mian4tiao2", "面条", "noodles", "Nudeln", 4, 0, ""),
    ("bao1zi0", "包子", "steamed filled bun", "gefülltes Dampfbrötchen", 4, 0, ""),
    ("jiao3zi0", "饺子", "dumplings", "Teigtaschen", 4, 0, ""),
    ("ji1dan4", "鸡蛋", "egg", "Ei", 4, 0, ""),
    ("rou4", "肉", "meat", "Fleisch", 4, 0, ""),
    ("cai4", "菜", "dish, vegetables", "Gericht, Gemüse", 4, 1, ""),
    ("shui3guo3", "水果", "fruit", "Obst", 4, 0, ""),
    ("ping2guo3", "苹果", "apple", "Apfel", 4, 1, ""),
    ("hao3chi1", "好吃", "tasty", "lecker", 4, 1, ""),
    ("e4", "饿", "hungry", "hungrig", 4, 0, ""),
    ("ke3", "渴", "thirsty", "durstig", 4, 0, ""),
    ("can1ting1", "餐厅", "restaurant", "Restaurant", 4, 0, ""),
    # 5 at home and things
    ("fang2zi0", "房子", "house", "Haus", 5, 1, ""),
    ("fang2jian1", "房间", "room", "Zimmer", 5, 0, ""),
    ("chu2fang2", "厨房", "kitchen", "Küche", 5, 0, ""),
    ("men2", "门", "door", "Tür", 5, 1, ""),
    ("chuang1hu0", "窗户", "window", "Fenster", 5, 0, ""),
    ("zhuo1zi0", "桌子", "table", "Tisch", 5, 0, ""),
    ("yi3zi0", "椅子", "chair", "Stuhl", 5, 0, ""),
    ("chuang2", "床", "bed", "Bett", 5, 0, ""),
    ("dian4shi4", "电视", "television", "Fernseher", 5, 1, ""),
    ("dian4nao3", "电脑", "computer", "Computer", 5, 1, ""),
    ("shou3ji1", "手机", "mobile phone", "Handy", 5, 1, ""),
    ("shu1", "书", "book", "Buch", 5, 1, ""),
    ("bei1zi0", "杯子", "cup, glass", "Tasse, Glas", 5, 0, ""),
    ("yao4shi0", "钥匙", "key", "Schlüssel", 5, 0, ""),
    ("dong1xi0", "东西", "thing", "Ding, Sache", 5, 1, ""),
    ("zhu4", "住", "to live (somewhere)", "wohnen", 5, 0, ""),
    ("shui4jiao4", "睡觉", "to sleep", "schlafen", 5, 1, ""),
    ("xiu1xi0", "休息", "to rest", "sich ausruhen", 5, 0, ""),
    ("kan4", "看", "to look, to watch", "sehen, anschauen", 5, 1, ""),
    ("zhe4", "这", "this", "dies, diese", 5, 2, ""),
    ("na4", "那", "that", "das, jene", 5, 2, ""),
    ("da4", "大", "big", "groß", 5, 1, ""),
    ("xiao3", "小", "small", "klein", 5, 1, ""),
    # 6 places and directions
    ("zai4", "在", "to be at, in", "sich befinden, in", 6, 1, ""),
    ("na3li0", "哪里", "where", "wo", 6, 1, "x"),
    ("shang4", "上", "up, on", "oben, auf", 6, 1, ""),
    ("xia4", "下", "down, under", "unten, unter", 6, 1, ""),
    ("zuo3", "左", "left", "links", 6, 0, ""),
    ("you4", "右", "right", "rechts", 6, 0, ""),
    ("qian2", "前", "front, before", "vorne, vor", 6, 0, ""),
    ("hou4", "后", "back, behind", "hinten, hinter", 6, 0, ""),
    ("li3", "里", "inside", "innen, drinnen", 6, 0, ""),
    ("pang2bian1", "旁边", "beside", "neben", 6, 0, ""),
    ("yi1zhi2", "一直", "straight on", "geradeaus", 6, 0, ""),
    ("guai3", "拐", "to turn", "abbiegen", 6, 0, ""),
    ("zen3me0", "怎么", "how", "wie", 6, 1, ""),
    ("yi1yuan4", "医院", "hospital", "Krankenhaus", 6, 0, ""),
    ("yin2hang2", "银行", "bank", "Bank", 6, 0, ""),
    ("shang1dian4", "商店", "shop", "Laden, Geschäft", 6, 0, ""),
    ("gong1yuan2", "公园", "park", "Park", 6, 0, ""),
    ("ce4suo3", "厕所", "toilet", "Toilette", 6, 1, "x"),
    ("jie1", "街", "street", "Straße", 6, 0, ""),
    ("lu4", "路", "road, way", "Weg, Straße", 6, 0, ""),
    ("qu4", "去", "to go (to)", "gehen, fahren (hin)", 6, 2, "v"),
    ("lai2", "来", "to come", "kommen", 6, 2, ""),
    ("zou3", "走", "to walk, to leave", "gehen, weggehen", 6, 1, ""),
    ("yuan3", "远", "far", "weit, fern", 6, 0, ""),
    ("jin4", "近", "near", "nah", 6, 0, ""),
    # 7 school, work and study
    ("xue2xiao4", "学校", "school", "Schule", 7, 1, ""),
    ("da4xue2", "大学", "university", "Universität", 7, 0, ""),
    ("xue2xi2", "学习", "to study, to learn", "lernen, studieren", 7, 2, ""),
    ("lao3shi1", "老师", "teacher", "Lehrer, Lehrerin", 7, 2, ""),
    ("xue2sheng0", "学生", "student, pupil", "Schüler, Student", 7, 1, ""),
    ("han4yu3", "汉语", "Chinese (language)", "Chinesisch", 7, 1, ""),
    ("han4zi4", "汉字", "Chinese character", "chinesisches Schriftzeichen", 7, 1, ""),
    ("ke4", "课", "lesson, class", "Lektion, Unterricht", 7, 0, ""),
    ("zuo4ye4", "作业", "homework", "Hausaufgabe", 7, 0, ""),
    ("wen4ti2", "问题", "question, problem", "Frage, Problem", 7, 0, ""),
    ("yi4si0", "意思", "meaning", "Bedeutung", 7, 0, ""),
    ("shuo1", "说", "to speak, to say", "sprechen, sagen", 7, 2, "v"),
    ("ting1", "听", "to listen", "hören, zuhören", 7, 1, ""),
    ("du2", "读", "to read (aloud)", "lesen, vorlesen", 7, 0, ""),
    ("xie3", "写", "to write", "schreiben", 7, 1, ""),
    ("wen4", "问", "to ask", "fragen", 7, 0, ""),
    ("dong3", "懂", "to understand", "verstehen", 7, 1, ""),
    ("zhi1dao0", "知道", "to know (a fact)", "wissen", 7, 1, ""),
    ("jue2de0", "觉得", "to think, to feel", "finden, meinen", 7, 0, ""),
    ("nan2", "难", "difficult", "schwierig", 7, 0, ""),
    ("rong2yi4", "容易", "easy", "leicht, einfach", 7, 0, ""),
    ("gong1zuo4", "工作", "work, to work", "Arbeit, arbeiten", 7, 1, ""),
    ("gong1si1", "公司", "company", "Firma", 7, 0, ""),
    ("yi1sheng1", "医生", "doctor", "Arzt, Ärztin", 7, 0, ""),
    # 8 weather, days and seasons
    ("tian1qi4", "天气", "weather", "Wetter", 8, 1, ""),
    ("xia4yu3", "下雨", "to rain", "regnen", 8, 0, ""),
    ("xia4xue3", "下雪", "to snow", "schneien", 8, 0, ""),
    ("re4", "热", "hot", "heiß", 8, 1, ""),
    ("leng3", "冷", "cold", "kalt", 8, 1, ""),
    ("tai4yang2", "太阳", "sun", "Sonne", 8, 0, ""),
    ("feng1", "风", "wind", "Wind", 8, 0, ""),
    ("tian1", "天", "day, sky", "Tag, Himmel", 8, 1, ""),
    ("jin1tian1", "今天", "today", "heute", 8, 2, ""),
    ("ming2tian1", "明天", "tomorrow", "morgen", 8, 1, ""),
    ("zuo2tian1", "昨天", "yesterday", "gestern", 8, 1, ""),
    ("zao3shang0", "早上", "morning", "Morgen (Tageszeit)", 8, 0, ""),
    ("wan3shang0", "晚上", "evening", "Abend", 8, 0, ""),
    ("xing1qi1", "星期", "week", "Woche", 8, 1, ""),
    ("xing1qi1yi1", "星期一", "Monday", "Montag", 8, 0, ""),
    ("zhou1mo4", "周末", "weekend", "Wochenende", 8, 0, ""),
    ("yue4", "月", "month, moon", "Monat, Mond", 8, 0, ""),
    ("chun1tian1", "春天", "spring", "Frühling", 8, 0, ""),
    ("xia4tian1", "夏天", "summer", "Sommer", 8, 0, ""),
    ("qiu1tian1", "秋天", "autumn", "Herbst", 8, 0, ""),
    ("dong1tian1", "冬天", "winter", "Winter", 8, 0, ""),
    # 9 shopping and money
    ("mai3", "买", "to buy", "kaufen", 9, 1, "v"),
    ("mai4", "卖", "to sell", "verkaufen", 9, 0, ""),
    ("qian2", "钱", "money", "Geld", 9, 1, ""),
    ("kuai4", "块", "yuan (spoken)", "Yuan (umgangssprachlich)", 9, 0, ""),
    ("yuan2", "元", "yuan", "Yuan", 9, 0, ""),
    ("duo1shao0", "多少", "how much, how many", "wie viel, wie viele", 9, 1, ""),
    ("duo1shao0 qian2", "多少钱", "how much is it?", "wie viel kostet das?", 9, 2, "x"),
    ("gui4", "贵", "expensive", "teuer", 9, 0, ""),
    ("pian2yi0", "便宜", "cheap", "billig", 9, 0, ""),
    ("yao4", "要", "to want", "wollen", 9, 1, ""),
    ("xiang3", "想", "would like to, to think", "möchten, denken", 9, 1, ""),
    ("xi3huan0", "喜欢", "to like", "mögen, gern haben", 9, 1, ""),
    ("piao4liang0", "漂亮", "pretty", "hübsch", 9, 0, ""),
    ("yi1fu0", "衣服", "clothes", "Kleidung", 9, 0, ""),
    ("xie2", "鞋", "shoe", "Schuh", 9, 0, ""),
    ("shi4", "试", "to try (on)", "anprobieren, versuchen", 9, 0, ""),
    ("yan2se4", "颜色", "colour", "Farbe", 9, 0, ""),
    ("hong2se4", "红色", "red", "rot", 9, 0, ""),
    ("bai2se4", "白色", "white", "weiß", 9, 0, ""),
    ("hei1se4", "黑色", "black", "schwarz", 9, 0, ""),
    ("fu4qian2", "付钱", "to pay", "bezahlen", 9, 0, ""),
    ("chao1shi4", "超市", "supermarket", "Supermarkt", 9, 0, ""),
    # 10 travel and transport
    ("lü3you2", "旅游", "to travel, tourism", "reisen, Tourismus", 10, 0, ""),
    ("qing3wen4", "请问", "excuse me, may I ask", "Entschuldigung, darf ich fragen", 10, 1, "x"),
    ("zuo4", "坐", "to sit, to go by", "sitzen, fahren mit", 10, 1, "v"),
    ("kai1che1", "开车", "to drive (a car)", "Auto fahren", 10, 0, ""),
    ("huo3che1", "火车", "train", "Zug", 10, 1, ""),
    ("fei1ji1", "飞机", "aeroplane", "Flugzeug", 10, 1, ""),
    ("gong1gong4qi4che1", "公共汽车", "bus", "Bus", 10, 0, ""),
    ("chu1zu1che1", "出租车", "taxi", "Taxi", 10, 0, ""),
    ("di4tie3", "地铁", "underground, metro", "U-Bahn", 10, 0, ""),
    ("zhan4", "站", "station, stop", "Bahnhof, Haltestelle", 10, 0, ""),
    ("ji1chang3", "机场", "airport", "Flughafen", 10, 0, ""),
    ("piao4", "票", "ticket", "Fahrkarte, Ticket", 10, 0, ""),
    ("di4tu2", "地图", "map", "Landkarte, Stadtplan", 10, 0, ""),
    ("lü3guan3", "旅馆", "hotel", "Hotel", 10, 0, ""),
    ("hu4zhao4", "护照", "passport", "Reisepass", 10, 0, ""),
    ("xing2li0", "行李", "luggage", "Gepäck", 10, 0, ""),
    ("dao4", "到", "to arrive, to", "ankommen, bis", 10, 1, ""),
    ("kuai4", "快", "fast", "schnell", 10, 1, ""),
    ("man4", "慢", "slow", "langsam", 10, 0, ""),
    ("yi1lu4 ping2an1", "一路平安", "have a good trip", "gute Reise", 10, 1, ""),
]

TARGETS = [
    (os.path.join("data", "my_vocabulary", "pcr1-10u.txt"), 2),     # English
    (os.path.join("data", "meine vokabeln", "pcr1-10u_d.txt"), 3),  # German
]

PINYIN_WORD = r"(?:[a-zü]+[0-4])+"
PINYIN_RE = re.compile(r"^%s(?: %s)*$" % (PINYIN_WORD, PINYIN_WORD))


def check_field(text, what, ansi):
    """A field must survive the reader: no '+', no CR/LF, no outer blanks."""
    if not text or text != text.strip() or "+" in text or "\r" in text or "\n" in text:
        sys.exit("bad %s field: %r" % (what, text))
    if ansi and any(ord(c) > 0xFF for c in text):
        sys.exit("%s field outside Latin-1 (the program narrows it to ANSI): %r" % (what, text))


def check_table():
    if len(WORDS) > MAX_WORDS:
        sys.exit("too many words: %d (at most %d)" % (len(WORDS), MAX_WORDS))
    last_chapter = 1
    for pinyin, chars, en, de, chapter, level, mark in WORDS:
        if not PINYIN_RE.match(pinyin):
            sys.exit("bad pinyin: %r" % pinyin)
        check_field(pinyin, "pinyin", True)
        check_field(chars, "characters", False)
        check_field(en, "English", True)
        check_field(de, "German", True)
        if not 1 <= chapter <= 10 or chapter < last_chapter:
            sys.exit("chapter out of order at %s %s" % (pinyin, chars))
        last_chapter = chapter
        if not 0 <= level <= 9:
            sys.exit("bad level at %s %s" % (pinyin, chars))
        if mark not in ("", "x", "v"):
            sys.exit("bad mark at %s %s" % (pinyin, chars))


def build_text(column):
    lines = [HEADER]
    for row in WORDS:
        pinyin, chars, chapter, level, mark = row[0], row[1], row[4], row[5], row[6]
        lines.append(SEP.join([str(level), pinyin, chars, row[column], str(chapter), mark]))
    return "".join(line + CR for line in lines)


def main():
    check_table()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for relpath, column in TARGETS:
        data = b"\xff\xfe" + build_text(column).encode("utf-16-le")
        if len(data) > MAX_BYTES:
            sys.exit("%s would be %d bytes (at most %d)" % (relpath, len(data), MAX_BYTES))
        path = os.path.join(root, relpath)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("%s: %d words, %d bytes" % (relpath, len(WORDS), len(data)))


if __name__ == "__main__":
    main()
