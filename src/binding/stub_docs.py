"""Writes the docstrings of the stub file as a C++ table, so that the module's functions and methods
carry at run time the very text that type checkers and editors show.

Usage: stub_docs.py STUB OUTPUT. Each row of OUTPUT is {"name", "docstring"}: module functions and
classes by their own name, class members as Class.member; docstrings cleaned as inspect.cleandoc
cleans them (help() shows them so)."""

import ast
import pathlib
import sys


def literal(text):
    """A C++ string literal of the text's UTF-8 bytes; octal escapes (always three digits, so that a
    following digit cannot join them) for everything but printable ASCII."""
    out = []
    for byte in text.encode():
        char = chr(byte)
        if char in '\\"':
            out.append("\\" + char)
        elif char == "\n":
            out.append("\\n")
        elif 0x20 <= byte < 0x7F and char != "?":  # '?' could start a trigraph in old dialects
            out.append(char)
        else:
            out.append(f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def documented(tree):
    """(qualified name, docstring) of every documented function and class, classes' members too."""
    for node in tree.body:
        if isinstance(node, (ast.FunctionDef, ast.ClassDef)) and ast.get_docstring(node) is not None:
            yield node.name, ast.get_docstring(node, clean=True)
        if isinstance(node, ast.ClassDef):
            for member in node.body:
                if isinstance(member, ast.FunctionDef) and ast.get_docstring(member) is not None:
                    yield f"{node.name}.{member.name}", ast.get_docstring(member, clean=True)


def main(stub, output):
    rows = [f"{{{literal(name)}, {literal(doc)}}}," for name, doc in documented(ast.parse(pathlib.Path(stub).read_text()))]
    text = "// Generated from brevant_rs.pyi by stub_docs.py; edit the stub, not this file.\n" + "\n".join(rows) + "\n"
    path = pathlib.Path(output)
    path.parent.mkdir(parents=True, exist_ok=True)
    if not path.exists() or path.read_text() != text:  # an unchanged table rebuilds nothing
        path.write_text(text)


if __name__ == "__main__":
    main(*sys.argv[1:])
