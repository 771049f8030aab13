#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Each seed is laid out the way its target reads the input, so that the fuzzer
starts from requests and commands that get past the first checks. Run it again
after changing how a target reads its input, and commit what it writes.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

PUBLIC = [4403, 4411, 4491, 4408, 4409, 4412, 4432, 4439, 4440, 4481, 4482,
          4483, 4484, 4485, 4486, 4487, 4488, 4489, 4490, 4495, 4496, 4499, 4500]
PRIVATE = ["read-card", "read-global", "stream", "card-state", "dma-status", "multi-playing",
           "dma-errors", "fpga-revision", "clock-measurement", "ids", "range-fail", "cards",
           "answer-mask", "fault-status", "fault-fail", "fault-delay", "reset"]
FITTING = 2  # a size pick that gives the layout's own size


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def words(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def card_call(kind, index, request, sizes=bytes([FITTING, FITTING]), shape=0):
    """One call of the virtual card target: code, sizes, buffer shape, request."""
    return bytes([kind, index]) + sizes + bytes([shape]) + request.ljust(64, b"\0") + bytes([1])


def virtual_card_seeds():
    # Word 2 a channel, word 4 a mode or direction, word 5 a selector item or
    # stream, words 5 and 6 also the level halves: every code finds its arguments.
    request = words(0x100, 0, 3, 0, 1, 0x4000_0002, 0x8000)
    for i, code in enumerate(PUBLIC):
        write("virtual_card", f"public-{code}", card_call(0, i, request))
    for i, name in enumerate(PRIVATE):
        write("virtual_card", f"private-{name}", card_call(1, i, words(0, 0x12, 5, 0x00020010)))
    # A sequence: arm a failure and a status, then ask for levels and set them.
    write("virtual_card", "faults-then-levels",
          card_call(1, PRIVATE.index("fault-fail"), words(0, 1, 0))
          + card_call(1, PRIVATE.index("fault-status"), words(0, 1, 7))
          + card_call(0, PUBLIC.index(4482), request)
          + card_call(0, PUBLIC.index(4482), request)
          + card_call(0, PUBLIC.index(4481), request)
          + card_call(0, PUBLIC.index(4482), request))
    # Shared buffer, and a request of 30 bytes.
    write("virtual_card", "shared-buffer", card_call(0, PUBLIC.index(4481), request, shape=1))
    write("virtual_card", "short-request",
          card_call(0, PUBLIC.index(4482), request, sizes=bytes([0, 30, FITTING])))

def reply(status, *values):
    """A port answer: answered, the whole reply written, status kept as given."""
    return bytes([0x09]) + (words(status, *values) + bytes(28)).ljust(28, b"\0")[:28]


def failed():
    return bytes([0x00])


def discovery(cards):
    """Client id 0x2A, cards answering at the given driver indexes, all ranges given."""
    data = reply(0, 0x2A)
    for i in range(4):
        if i in cards:
            data += bytes([0x09]) + words(0, 0, 0) + struct.pack("<HHHH", 0x1A3C, 0x0601, 0x10 + i, 2) \
                + words(0, 0)
            data += reply(0, 1, i, 0xE000, 0x100) + reply(0, 0, i, 0xF4000000, 0x10000)
        else:
            data += reply(0xE0000002)
    return data


def operation(op, card=0, a=0, b=0, c=0, d=0, channel=3):
    """One step of the device target: card, four words, channel, output, operation."""
    return bytes([2, card]) + words(a, b, c, d) + bytes([1, channel, 1, op])


def device_link_seeds():
    write("device_link", "discovery-one-card", discovery({0}))
    write("device_link", "discovery-two-of-four", discovery({0, 2}))
    write("device_link", "discovery-all-fail", failed() * 5)
    base = discovery({0})
    answer = reply(0, 0x1234_5678, 0x9ABC_DEF0)
    for op in range(18):
        write("device_link", f"operation-{op:02}", base + operation(op, a=0x04030201, b=op % 24, c=1) + answer)
    # Register selectors: the first read fails, the second answers.
    for selector in (2, 5, 6, 11):
        write("device_link", f"query-selector-{selector}-retry",
              base + operation(2, a=0, b=selector, c=1) + failed() + answer)
    write("device_link", "launch", base + operation(18) + bytes([1, 20]) + b"Zelk MIRVA PCI Audio")
    write("device_link", "release", base + operation(19) + operation(0))


def cardctl_seeds():
    commands = [
        [], ["help"], ["status"], ["status", "--json"], ["count"], ["reset"],
        ["fault", "status", "-5", "2"], ["fault", "fail", "3"], ["fault", "delay", "10000"],
        ["set", "stream", "0", "playback", "9", "4"], ["set", "card-state", "1", "0x2"],
        ["set", "dma-status", "2", "3"], ["set", "multi-playing", "3", "1"],
        ["set", "dma-errors", "0", "4294967295"], ["set", "fpga-revision", "0", "0x0107"],
        ["set", "clock-measurement", "0", "1016"], ["set", "ids", "0", "0x1A3C", "0x0601", "16", "2"],
        ["set", "range-fail", "1", "on"], ["set", "cards", "4"], ["set", "answer-mask", "0xF"],
        ["set", "level", "0", "10", "65535", "0"], ["set", "control", "3", "2", "off"],
        ["set", "clock-mode", "0", "7"], ["set", "auto-sync", "0", "on"],
        ["set", "sync", "0", "record", "5", "on"], ["set", "level", "0", "11", "1", "1"],
        ["set", "bogus"], ["fault"], ["status", "--xml"],
    ]
    for i, args in enumerate(commands):
        name = "-".join(args[:2]) if args else "empty"
        write("cardctl_command", f"{i:02}-{name}", b"\0".join(a.encode() for a in args))


if __name__ == "__main__":
    virtual_card_seeds()
    device_link_seeds()
    cardctl_seeds()
