"""Turns a binary file into a C++ table: `const unsigned char NAME[]` and `NAME_size`.

usage: embed.py NAME INPUT OUTPUT.cpp
"""
import sys


def main():
    name, src, out = sys.argv[1:4]
    data = open(src, "rb").read()
    lines = ["// Generated from %s at build time; do not edit." % src.split("/")[-1],
             "#include <cstddef>", "",
             "extern const unsigned char %s[] = {" % name]
    for i in range(0, len(data), 24):
        lines.append("    " + ",".join(str(b) for b in data[i:i + 24]) + ",")
    lines.append("};")
    lines.append("extern const std::size_t %s_size = %d;" % (name, len(data)))
    open(out, "w").write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
