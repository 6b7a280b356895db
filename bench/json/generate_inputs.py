#!/usr/bin/env python3
"""Writes the JSON benchmark inputs into inputs/: realistic replies of the tracking web service, one compact
document per line, gzip-compressed. The seed is fixed, so the files are the same on every run.

  device.jsonl.gz     1,000 device-detail replies
  messages.jsonl.gz   1,000 replies of 50 messages each
  timetable.jsonl.gz  1,000 class timetables
  phonebook.jsonl.gz  1,000 phone books
  mixed.jsonl.gz      one document of about 4 MB mixing all of the above

About a third of the replies carry their payload "d" as JSON text inside a string, as the service does for
some of its methods. Usage: bench/json/generate_inputs.py"""
import gzip
import json
import os
import random

SEED = 20140513
HERE = os.path.dirname(os.path.abspath(__file__))

SURNAMES = ["王", "李", "张", "刘", "陈", "杨", "黄", "赵", "Smith", "Garcia", "Müller", "Nguyen"]
GIVEN = ["小明", "丽", "伟", "芳", "Anna", "Lucas", "Zoë", "Mia", "Chen", "José"]
RELATIONS = ["爸爸", "妈妈", "爷爷", "奶奶", "Dad", "Mum", "Teacher", "Uncle"]
SUBJECTS = ["语文", "数学", "英语", "科学", "体育", "音乐", "美术", "Reading", "Music", "P.E."]
PHRASES = ["放学了吗？", "我到学校了", "记得喝水", "Come home by 6, please.", "Where are you?",
           "下午三点来接你 😊", "OK", "Good night!", "我在图书馆", "Don't forget your jacket", "好的 👍",
           "Call me when you arrive \"at home\"", "路上注意安全/Be careful"]
STREETS = ["深圳市南山区科技园南区", "广州市天河区体育西路", "北京市海淀区中关村大街", "12 Baker Street, London",
           "Calle Mayor 5, Madrid", "上海市浦东新区世纪大道100号"]


def phone(rng):
    return "1" + str(rng.choice([3, 5, 8])) + "".join(str(rng.randint(0, 9)) for _ in range(9))


def timestamp(rng):
    return "2014-%02d-%02d %02d:%02d:%02d" % (rng.randint(1, 12), rng.randint(1, 28), rng.randint(0, 23),
                                             rng.randint(0, 59), rng.randint(0, 59))


def name(rng):
    return rng.choice(SURNAMES) + rng.choice(GIVEN)


def device(rng):
    device_id = rng.randint(100000, 999999)
    return {
        "State": 0,
        "DeviceID": device_id,
        "SerialNumber": "%015d" % rng.randint(0, 10 ** 15 - 1),
        "DeviceName": name(rng) + "的手表",
        "DeviceType": rng.randint(1, 6),
        "Phone": phone(rng),
        "Avatar": "http://service.example.com/Upload/Avatar/%d.jpg?t=%d" % (device_id, rng.randint(1, 10 ** 9)),
        "Battery": rng.randint(0, 100),
        "Online": rng.random() < 0.7,
        "Latitude": round(rng.uniform(-60, 60), 6),
        "Longitude": round(rng.uniform(-180, 180), 6),
        "Accuracy": rng.randint(5, 2000),
        "LocationType": rng.randint(1, 3),
        "LocationTime": timestamp(rng),
        "Address": rng.choice(STREETS),
        "Speed": round(rng.uniform(0, 30), 2),
        "Course": rng.randint(0, 359),
        "Model": "LT-%d%s" % (rng.randint(100, 999), rng.choice("ABCX")),
        "Firmware": "V%d.%d.%d" % (rng.randint(1, 3), rng.randint(0, 9), rng.randint(0, 99)),
        "ActiveTime": timestamp(rng),
        "ExpireTime": timestamp(rng),
        "Settings": {
            "SOSSms": rng.random() < 0.5, "LowBattery": rng.random() < 0.5, "Remove": rng.random() < 0.5,
            "Volume": rng.randint(0, 6), "Profile": rng.randint(1, 4), "UploadInterval": rng.choice([60, 300, 600, 3600]),
            "Language": rng.choice(["zh-Hans", "en", "es"]), "TimeZone": rng.choice([8.0, 0.0, -5.0, 5.5]),
        },
        "Owner": {"UserID": rng.randint(1, 10 ** 6), "Name": name(rng), "Phone": phone(rng), "Relation": rng.choice(RELATIONS)},
        "Fences": [{"ID": rng.randint(1, 10 ** 5), "Name": rng.choice(["学校", "家", "Park"]), "Radius": rng.randint(100, 1000),
                    "Latitude": round(rng.uniform(-60, 60), 6), "Longitude": round(rng.uniform(-180, 180), 6),
                    "Enabled": rng.random() < 0.8} for _ in range(rng.randint(0, 3))],
        "Remark": None,
    }


def message(rng, device_id):
    voice = rng.random() < 0.4
    return {
        "MessageID": rng.randint(1, 10 ** 9),
        "DeviceID": device_id,
        "Type": 2 if voice else 1,
        "Content": "" if voice else rng.choice(PHRASES),
        "VoiceUrl": "http://service.example.com/Voice/%d/%d.amr" % (device_id, rng.randint(1, 10 ** 9)) if voice else None,
        "Length": rng.randint(1, 15) if voice else 0,
        "FromDevice": rng.random() < 0.5,
        "Sender": name(rng),
        "CreateTime": timestamp(rng),
        "IsRead": rng.random() < 0.6,
    }


def messages(rng):
    device_id = rng.randint(100000, 999999)
    return {"State": 0, "Total": rng.randint(50, 5000), "List": [message(rng, device_id) for _ in range(50)]}


def timetable(rng):
    days = []
    for day in range(1, 8):
        periods = []
        hour = 8
        for _ in range(rng.randint(0, 8) if day <= 5 else rng.randint(0, 2)):
            periods.append({"Start": "%02d:%02d" % (hour, 0), "End": "%02d:%02d" % (hour, 45),
                            "Subject": rng.choice(SUBJECTS), "Silent": rng.random() < 0.8})
            hour += 1
        days.append({"Week": day, "Enabled": bool(periods), "Periods": periods})
    return {"State": 0, "DeviceID": rng.randint(100000, 999999), "ClassDisable": rng.random() < 0.2,
            "Days": days, "UpdateTime": timestamp(rng)}


def phonebook(rng):
    contacts = [{"ID": rng.randint(1, 10 ** 6), "Name": rng.choice(RELATIONS) if rng.random() < 0.5 else name(rng),
                 "Phone": phone(rng), "ShortNumber": str(rng.randint(1, 99)) if rng.random() < 0.3 else "",
                 "IsSOS": rng.random() < 0.2, "IsAdmin": rng.random() < 0.1, "PhotoIndex": rng.randint(0, 12)}
                for _ in range(rng.randint(5, 20))]
    return {"State": 0, "DeviceID": rng.randint(100000, 999999), "Contacts": contacts,
            "Whitelist": [phone(rng) for _ in range(rng.randint(0, 5))]}


def reply(rng, payload):
    body = payload(rng)
    if rng.random() < 1 / 3:
        body = json.dumps(body, ensure_ascii=rng.random() < 0.5, separators=(",", ":"))
    return json.dumps({"d": body}, ensure_ascii=False, separators=(",", ":"))


def write(name, lines):
    with gzip.GzipFile(os.path.join(HERE, "inputs", name + ".jsonl.gz"), "wb", mtime=0) as out:
        for line in lines:
            out.write(line.encode("utf-8") + b"\n")


def main():
    rng = random.Random(SEED)
    kinds = {"device": device, "messages": messages, "timetable": timetable, "phonebook": phonebook}
    for name, payload in kinds.items():
        write(name, [reply(rng, payload) for _ in range(1000)])
    parts = []
    size = 0
    while size < 4 * 1024 * 1024:
        payload = rng.choice(list(kinds.values()))
        part = json.loads(reply(rng, payload))
        parts.append(part)
        size += len(json.dumps(part, ensure_ascii=False, separators=(",", ":")).encode("utf-8"))
    write("mixed", [json.dumps({"d": parts}, ensure_ascii=False, separators=(",", ":"))])


if __name__ == "__main__":
    main()
