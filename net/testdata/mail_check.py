"""Reads a received message with Python's standard email parser.

Usage: mail_check.py MESSAGE_FILE PART_DIRECTORY

Prints what the parser found, one fact a line:
  header <name>: <value>   for From, To, Subject, MIME-Version, Date,
                           Message-ID; encoded words decoded, UTF-8 text
                           printed as UTF-8
  type <content type>      of the message
  defects <count>          the parser's complaints, message and parts together
  closed <yes|no>          whether the closing delimiter "--boundary--" is there
  longest <octets>         the longest line, CR LF not counted
  bare <count>             CR or LF bytes not part of a CR LF pair
  part <n> <type> <filename or -> <transfer encoding or ->
  charset <n> <charset or ->
  dated <seconds since 1970 or ->   the Date header, parsed
and writes each part's decoded payload to PART_DIRECTORY/part-<n>.
"""
import email
import email.header
import email.policy
import email.utils
import os
import re
import sys

path, directory = sys.argv[1], sys.argv[2]
raw = open(path, "rb").read()
message = email.message_from_bytes(raw, policy=email.policy.compat32)

def decoded(value):
    return str(email.header.make_header(email.header.decode_header(value)))


sys.stdout.reconfigure(encoding="utf-8")
for name in ("From", "To", "Subject", "MIME-Version", "Date", "Message-ID"):
    print("header %s: %s" % (name, decoded(message.get(name, ""))))
try:
    print("dated %d" % email.utils.parsedate_to_datetime(message.get("Date", "")).timestamp())
except (TypeError, ValueError):
    print("dated -")
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
    print("charset %d %s" % (number, part.get_content_charset() or "-"))
    with open(os.path.join(directory, "part-%d" % number), "wb") as out:
        out.write(part.get_payload(decode=True) or b"")
