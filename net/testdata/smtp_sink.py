"""A real SMTP server on 127.0.0.1 for one message.

Usage: smtp_sink.py MESSAGE_FILE

Prints the port it listens on, receives one message, writes its raw DATA
bytes (CR LF as they came) to MESSAGE_FILE and the envelope to
MESSAGE_FILE + ".envelope" (the sender, then one recipient a line), and
exits. It gives up after 60 seconds whatever happens.
"""
import asyncio
import sys

from aiosmtpd.smtp import SMTP


class Sink:
    def __init__(self, path, done):
        self.path = path
        self.done = done

    async def handle_DATA(self, server, session, envelope):
        with open(self.path, "wb") as out:
            out.write(envelope.original_content)
        with open(self.path + ".envelope", "w") as out:
            out.write(envelope.mail_from + "\n")
            for recipient in envelope.rcpt_tos:
                out.write(recipient + "\n")
        self.done.set()
        return "250 Message accepted for delivery"


async def main(path):
    done = asyncio.Event()
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(Sink(path, done)), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    try:
        await asyncio.wait_for(done.wait(), 60)
        # Time for the client's QUIT; it must not matter if it comes late.
        await asyncio.sleep(0.3)
    finally:
        server.close()


asyncio.run(main(sys.argv[1]))
