#!/usr/bin/env python3
"""Checks, for the command-line benchmark, that korvane-cli and keepassxc-cli
hold the same records, field by field.

  same-records.py KORVANE.csv PEER.xml
      korvane-cli's CSV export against keepassxc-cli's XML export: every
      record, as the multiset of its database and seven fields, must be in
      both. Exit status 1, with the first differences, when they differ.
  same-records.py --unique-product KORVANE.csv PEER.xml
      prints a product found exactly once, and the path keepassxc-cli shows
      its entry under.
"""
import collections
import csv
import sys
import xml.etree.ElementTree as ElementTree

FIELDS = ["Product", "Registrant", "Customer ID", "Registration", "Web Contact", "Registration Date", "Recorded"]
PEER_KEYS = ["Title", "UserName", "Customer ID", "Password", "URL", "Registration Date", "Recorded"]


def korvane_records(path):
    with open(path, newline="", encoding="utf-8") as file:
        return [tuple([row["Database"]] + [row[field] for field in FIELDS]) for row in csv.DictReader(file)]


def peer_entries(path):
    """Each entry as (its group path below the root group, its strings by
    key), read as a stream: a full export is some hundred megabytes."""
    entries = []
    tags = []
    groups = []
    for event, element in ElementTree.iterparse(path, events=("start", "end")):
        if event == "start":
            tags.append(element.tag)
            if element.tag == "Group":
                groups.append(None)
            continue
        tags.pop()
        parent = tags[-1] if tags else None
        if element.tag == "Name" and parent == "Group" and groups[-1] is None:
            groups[-1] = element.text or ""
        elif element.tag == "Group":
            groups.pop()
            element.clear()
        elif element.tag == "Entry" and parent == "Group":
            strings = {item.findtext("Key"): item.findtext("Value") or "" for item in element.findall("String")}
            entries.append((groups[1:], strings))
            element.clear()
    return entries


def peer_records(path):
    return [tuple([names[-1] if names else ""] + [strings.get(key, "") for key in PEER_KEYS])
            for names, strings in peer_entries(path)]


def main(arguments):
    if arguments[:1] == ["--unique-product"]:
        korvane_path, peer_path = arguments[1:]
        counts = collections.Counter(record[1] for record in korvane_records(korvane_path))
        for names, strings in peer_entries(peer_path):
            title = strings.get("Title", "")
            if counts[title] == 1 and title.isascii() and title.strip() == title and " " in title:
                print(title)
                print("/" + "/".join(names + [title]))
                return 0
        return 1
    ours = collections.Counter(korvane_records(arguments[0]))
    theirs = collections.Counter(peer_records(arguments[1]))
    if ours == theirs:
        print(f"same records, field by field: {sum(ours.values())} in each")
        return 0
    print(f"korvane-cli holds {sum(ours.values())} records, keepassxc-cli {sum(theirs.values())}", file=sys.stderr)
    for record in list((ours - theirs).elements())[:3]:
        print(f"  only in korvane-cli: {record}", file=sys.stderr)
    for record in list((theirs - ours).elements())[:3]:
        print(f"  only in keepassxc-cli: {record}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
