"""Reads a received message with Python's standard email parser.

Usage: mail_check.py MESSAGE_FILE PART_DIRECTORY

Prints what the parser found, one fact a line:
  header <name>: <value>   for From, To, Subject, MIME-Version
  type <content type>      of the message
  defects <count>          the parser's complaints, message and parts together
  closed <yes|no>          whether the closing delimiter "--boundary--" is there
  longest <octets>         the longest line, CR LF not counted
  bare <count>             CR or LF bytes not part of a CR LF pair
  part <n> <type> <filename or -> <transfer encoding or ->
and writes each part's decoded payload to PART_DIRECTORY/part-<n>.
"""
import email
import email.policy
import os
import re
import sys

path, directory = sys.argv[1], sys.argv[2]
raw = open(path, "rb").read()
message = email.message_from_bytes(raw, policy=email.policy.compat32)

for name in ("From", "To", "Subject", "MIME-Version"):
    print("header %s: %s" % (name, message.get(name, "")))
print("type %s" % message.get_content_type())

defects = len(message.defects)
parts = []
if message.is_multipart():
    for part in message.walk():
        if part is message:
            continue
        defects += len(part.defects)
        parts.append(part)
print("defects %d" % defects)

boundary = message.get_boundary() or ""
closed = boundary and re.search(b"(^|\r\n)--" + re.escape(boundary.encode()) + b"--", raw)
print("closed %s" % ("yes" if closed else "no"))

lines = raw.split(b"\r\n")
print("longest %d" % max(len(line) for line in lines))
print("bare %d" % sum(line.count(b"\r") + line.count(b"\n") for line in lines))

for number, part in enumerate(parts, 1):
    print("part %d %s %s %s" % (number, part.get_content_type(), part.get_filename() or "-",
                                part.get("Content-Transfer-Encoding", "-")))
    with open(os.path.join(directory, "part-%d" % number), "wb") as out:
        out.write(part.get_payload(decode=True) or b"")
