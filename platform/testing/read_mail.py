#!/usr/bin/python3
"""Reads a stored mail with Python's own e-mail parser and prints what a mail
program would show, as JSON: decoded subject and addresses, body text, and
each attachment's decoded file name and bytes (base64). Writes each attachment
into the folder given as second argument, when there is one."""
import base64
import email
import email.header
import email.policy
import json
import pathlib
import sys


def decoded(value):
    if value is None:
        return None
    return str(email.header.make_header(email.header.decode_header(value)))


message = email.message_from_bytes(pathlib.Path(sys.argv[1]).read_bytes(), policy=email.policy.compat32)
result = {
    "subject": decoded(message["Subject"]),
    "from": decoded(message["From"]),
    "to": decoded(message["To"]),
    "reply_to": decoded(message["Reply-To"]),
    "date": message["Date"],
    "body": None,
    "attachments": [],
}
for part in message.walk():
    if part.is_multipart():
        continue
    if part.get_content_disposition() == "attachment":
        name = decoded(part.get_filename())
        data = part.get_payload(decode=True)
        result["attachments"].append({"name": name, "data": base64.b64encode(data).decode()})
        if len(sys.argv) > 2:
            (pathlib.Path(sys.argv[2]) / name).write_bytes(data)
    elif part.get_content_type() == "text/plain":
        result["body"] = part.get_payload(decode=True).decode(part.get_content_charset() or "ascii")
print(json.dumps(result, ensure_ascii=False))
