#!/usr/bin/env python3
"""Turns the help text (help/<language>/*.md and help/contents.txt) into the
C++ tables the help window shows (help_book_data.cpp).

The text is a small part of Markdown, so that it reads well as plain text:

    @topic 242              the topic number the program asks for
    @function analyser      optional: this topic serves that function only
    # Expander              the topic's title (exactly one)
    ## Heading              a heading inside the topic
    Paragraph lines, joined; a blank line ends a paragraph.
    - A bullet, and
      its continuation;  nested bullets indent by two blanks.
    **bold**, [link text](242) or [link text](248@analyser)
    @contents               the whole topic tree as links (the contents page)

Every topic of contents.txt must exist in every language and every link
must name an existing topic: otherwise the build stops with a message.
"""
import os
import re
import sys

LANGUAGES = ["de", "en"]  # index = the program's help language (0 Deutsch, 1 English)
FUNCTIONS = {"": -1, "dual-mono": 1, "stereo": 2, "analyser": 3}
STRING_KEYS = ["window", "back", "forward", "contents", "topics"]


class HelpError(Exception):
    pass


def key_of(text, where):
    m = re.fullmatch(r"(\d+)(?:@([a-z-]+))?", text.strip())
    if not m or (m.group(2) or "") not in FUNCTIONS:
        raise HelpError(f"{where}: not a topic reference: '{text}'")
    return (int(m.group(1)), m.group(2) or "")


def parse_inline(text, where):
    """Spans (style, target key or None, text) of one paragraph's text."""
    spans = []
    pos = 0
    pattern = re.compile(r"\*\*(.+?)\*\*|\[(.+?)\]\(([^)]+)\)")
    for m in pattern.finditer(text):
        if m.start() > pos:
            spans.append(("plain", None, text[pos:m.start()]))
        if m.group(1) is not None:
            spans.append(("bold", None, m.group(1)))
        else:
            spans.append(("link", key_of(m.group(3), where), m.group(2)))
        pos = m.end()
    if pos < len(text):
        spans.append(("plain", None, text[pos:]))
    for _, _, t in spans:
        if "**" in t or "](" in t:
            raise HelpError(f"{where}: unbalanced mark-up in '{text}'")
    return spans


def parse_topic(path):
    number, function, title = None, "", None
    blocks = []  # (kind, level, text)
    para = None

    def flush():
        nonlocal para
        if para is not None:
            blocks.append(para)
            para = None

    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for n, raw in enumerate(lines, 1):
        where = f"{path}:{n}"
        line = raw.rstrip()
        if line.startswith("@topic "):
            number = int(line[7:].strip())
        elif line.startswith("@function "):
            function = line[10:].strip()
            if function not in FUNCTIONS:
                raise HelpError(f"{where}: unknown function '{function}'")
        elif line == "@contents":
            flush()
            blocks.append(("contents", 0, ""))
        elif line.startswith("# "):
            if title is not None:
                raise HelpError(f"{where}: a second title")
            title = line[2:].strip()
        elif line.startswith("## "):
            flush()
            blocks.append(("heading", 0, line[3:].strip()))
        elif line.strip() == "":
            flush()
        elif re.match(r"^( *)- ", line):
            flush()
            indent = len(line) - len(line.lstrip(" "))
            if indent % 2:
                raise HelpError(f"{where}: bullets indent by two blanks")
            para = ["bullet", indent // 2, line.lstrip(" ")[2:].strip()]
        else:
            if para is None:
                para = ["paragraph", 0, line.strip()]
            else:
                para[2] += " " + line.strip()
    flush()
    if number is None or title is None:
        raise HelpError(f"{path}: needs @topic and a '# ' title")
    return {"key": (number, function), "title": title, "blocks": [tuple(b) for b in blocks], "path": path}


def read_contents(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            indent = len(line) - len(line.lstrip(" "))
            if indent % 2:
                raise HelpError(f"{path}:{n}: topics indent by two blanks")
            entries.append((key_of(line, f"{path}:{n}"), indent // 2))
    return entries


def read_strings(path):
    strings = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line:
                k, v = line.rstrip("\n").split("=", 1)
                strings[k.strip()] = v.strip()
    missing = [k for k in STRING_KEYS if k not in strings]
    if missing:
        raise HelpError(f"{path}: missing {', '.join(missing)}")
    return strings


def c_string(text):
    out = []
    for b in text.encode("utf-8"):
        c = chr(b)
        if c in '"\\':
            out.append("\\" + c)
        elif 32 <= b < 127:
            out.append(c)
        else:
            out.append(f"\\{b:03o}")  # octal: never swallows a following digit
    return '"' + "".join(out) + '"'


def build_language(root, lang, contents):
    folder = os.path.join(root, lang)
    topics = []
    for name in sorted(os.listdir(folder)):
        if name.endswith(".md"):
            topics.append(parse_topic(os.path.join(folder, name)))
    index = {}
    for i, t in enumerate(topics):
        if t["key"] in index:
            raise HelpError(f"{t['path']}: topic {t['key']} twice")
        index[t["key"]] = i
    for key, _ in contents:
        if key not in index:
            raise HelpError(f"help/{lang}: topic {key[0]}{'@' + key[1] if key[1] else ''} of contents.txt is missing")
    listed = {k for k, _ in contents}
    for t in topics:
        if t["key"] not in listed:
            raise HelpError(f"{t['path']}: topic not in contents.txt")
    if (0, "") not in index:
        raise HelpError(f"help/{lang}: no contents topic (0)")
    # Expand the contents marker into bullets of links, and resolve links.
    for t in topics:
        blocks = []
        for kind, level, text in t["blocks"]:
            if kind == "contents":
                for key, depth in contents:
                    if key == (0, ""):
                        continue
                    blocks.append(("bullet", depth, [("link", index[key], topics[index[key]]["title"])]))
            elif kind == "heading":
                blocks.append((kind, level, [("plain", None, text)]))
            else:
                spans = []
                for style, target, s in parse_inline(text, t["path"]):
                    if style == "link":
                        if target not in index:
                            raise HelpError(f"{t['path']}: link to missing topic {target}")
                        target = index[target]
                    spans.append((style, target, s))
                blocks.append((kind, level, spans))
        t["resolved"] = blocks
    return topics, index, read_strings(os.path.join(folder, "strings.txt"))


def generate(root, out_path):
    contents = read_contents(os.path.join(root, "contents.txt"))
    books = [build_language(root, lang, contents) for lang in LANGUAGES]
    keys = [sorted(b[1].keys()) for b in books]
    if any(k != keys[0] for k in keys):
        raise HelpError("the languages do not have the same topics")
    o = ["// Generated by tools/helpgen/helpgen.py from help/: do not edit.",
         '#include "app/help_book.h"', "", "namespace {", ""]
    kinds = {"paragraph": "HelpBlockKind::Paragraph", "bullet": "HelpBlockKind::Bullet", "heading": "HelpBlockKind::Heading"}
    styles = {"plain": "HelpSpanStyle::Plain", "bold": "HelpSpanStyle::Bold", "link": "HelpSpanStyle::Link"}
    for li, (topics, index, strings) in enumerate(books):
        spans, blocks, topic_rows = [], [], []
        for t in topics:
            first_block = len(blocks)
            for kind, level, ss in t["resolved"]:
                blocks.append(f"    {{{kinds[kind]}, {level}, {len(spans)}, {len(ss)}}},")
                for style, target, s in ss:
                    spans.append(f"    {{{styles[style]}, {target if target is not None else -1}, {c_string(s)}}},")
            number, function = t["key"]
            topic_rows.append(f"    {{{number}, {FUNCTIONS[function]}, {c_string(t['title'])}, {first_block}, {len(blocks) - first_block}}},")
        entries = [f"    {{{index[k]}, {d}}}," for k, d in contents]
        o += [f"const HelpSpan Spans{li}[] = {{"] + spans + ["};",
              f"const HelpBlock Blocks{li}[] = {{"] + blocks + ["};",
              f"const HelpTopic Topics{li}[] = {{"] + topic_rows + ["};",
              f"const HelpContentsEntry Contents{li}[] = {{"] + entries + ["};", ""]
    o += ["}  // namespace", "", "const HelpBook HelpBooks[HelpLanguageCount] = {"]
    for li, (topics, _, strings) in enumerate(books):
        o.append(f"    {{Topics{li}, {len(topics)}, Blocks{li}, Spans{li}, Contents{li}, {len(contents)},")
        o.append("     " + ", ".join(c_string(strings[k]) for k in STRING_KEYS) + "},")
    o += ["};", ""]
    text = "\n".join(o)
    if os.path.exists(out_path):
        with open(out_path, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: helpgen.py HELP_DIR OUTPUT.cpp")
    try:
        generate(sys.argv[1], sys.argv[2])
    except HelpError as e:
        sys.exit(f"helpgen: {e}")
