#!/usr/bin/env python3
"""Checks a built Windows file (PE) without running it: machine type, subsystem,
size, export names, imported DLLs and the embedded application manifest.

    check_pe.py FILE [--zip ZIP] CHECK...

With --zip, FILE is a member of that zip, so the file a user unpacks is the one checked.
Checks (each prints what it found, and "FAIL: ..." when it does not hold):
    --machine i386|x86-64         the COFF machine type
    --subsystem gui|console       the optional header's subsystem
    --max-size BYTES              the file is smaller than BYTES
    --exports NAME...             exports exactly these names, each with its own slot
    --imports-only DLL...         imports (also delay-loaded) from no DLL but these
    --imports-none GLOB...        imports from no DLL matching these
    --functions-none NAME...      imports none of these functions by name (looked up at
                                  run time instead, so the file starts where they are missing)
    --version-info KEY=VALUE...   the version resource holds these strings; FILEVERSION and
                                  PRODUCTVERSION name its fixed numbers (1.0.0.0)
    --manifest                    per-monitor DPI awareness, Windows 8, 8.1 and 10/11
                                  supported, Common Controls 6 a dependency, and the
                                  manifest's architecture matches
    --stdcall NAME=BYTES...       (x86) the export's code returns with `ret BYTES`: it
                                  takes its arguments off the stack, as WINAPI functions
                                  do; needs --objdump
    --aligned-stack-sse           (x86) no aligned SSE access (movaps, movdqa, paddd from
                                  memory, ...) to the stack in a function that has not
                                  aligned its frame itself; needs --objdump
    --objdump TOOL                the binutils objdump that reads this file
DLL names compare without regard to case. Standard library only.
"""
import argparse
import fnmatch
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

MACHINES = {0x14C: "i386", 0x8664: "x86-64"}
SUBSYSTEMS = {2: "gui", 3: "console"}
MANIFEST_ARCHITECTURE = {"i386": "x86", "x86-64": "amd64"}
SUPPORTED_OS = {
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
RT_MANIFEST = 24
RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD
ASSEMBLY_NAMESPACE = "urn:schemas-microsoft-com:asm.v1"
EXPORT, IMPORT, RESOURCE, DELAY_IMPORT = 0, 1, 2, 13


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a PE file (no MZ header)")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file (no PE signature)")
        machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        self.machine = MACHINES.get(machine, hex(machine))
        optional = pe + 24
        magic = self.u16(optional)
        if magic not in (0x10B, 0x20B):
            raise ValueError(f"unknown optional header magic {magic:#x}")
        self.subsystem = SUBSYSTEMS.get(self.u16(optional + 68), str(self.u16(optional + 68)))
        if magic == 0x10B:
            self.image_base = self.u32(optional + 28)
            self.thunk_size = 4
        else:
            self.thunk_size = 8
            self.image_base = struct.unpack_from("<Q", data, optional + 24)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        count = self.u32(directories - 4)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def directory(self, index):
        rva, size = self.directories[index] if index < len(self.directories) else (0, 0)
        return (self.offset(rva), size) if rva and size else (None, 0)

    def exports(self):
        """The exported names, and the number of export slots."""
        start, _ = self.directory(EXPORT)
        if start is None:
            return [], 0
        slots, named, _, names, _ = struct.unpack_from("<IIIII", self.data, start + 20)
        return [self.string(self.u32(self.offset(names) + 4 * i)) for i in range(named)], slots

    def export_addresses(self):
        """Each exported name's virtual address."""
        start, _ = self.directory(EXPORT)
        if start is None:
            return {}
        _, named, functions, names, ordinals = struct.unpack_from("<IIIII", self.data, start + 20)
        addresses = {}
        for i in range(named):
            ordinal = self.u16(self.offset(ordinals) + 2 * i)
            rva = self.u32(self.offset(functions) + 4 * ordinal)
            addresses[self.string(self.u32(self.offset(names) + 4 * i))] = self.image_base + rva
        return addresses

    def imported_dlls(self):
        dlls = set()
        start, _ = self.directory(IMPORT)
        while start is not None and any(struct.unpack_from("<5I", self.data, start)):
            dlls.add(self.string(self.u32(start + 12)).lower())
            start += 20
        start, _ = self.directory(DELAY_IMPORT)
        while start is not None and any(struct.unpack_from("<8I", self.data, start)):
            dlls.add(self.string(self.u32(start + 4)).lower())
            start += 32
        return sorted(dlls)

    def imported_functions(self):
        """The names of the functions imported by name (delay-loaded ones included)."""
        names = set()
        ordinal_flag = 1 << (8 * self.thunk_size - 1)
        tables = []
        start, _ = self.directory(IMPORT)
        while start is not None and any(struct.unpack_from("<5I", self.data, start)):
            original, _, _, _, first = struct.unpack_from("<5I", self.data, start)
            tables.append(original or first)
            start += 20
        start, _ = self.directory(DELAY_IMPORT)
        while start is not None and any(struct.unpack_from("<8I", self.data, start)):
            tables.append(self.u32(start + 16))
            start += 32
        for table in tables:
            entry = self.offset(table)
            while True:
                thunk = int.from_bytes(self.data[entry:entry + self.thunk_size], "little")
                if thunk == 0:
                    break
                if not thunk & ordinal_flag:
                    names.add(self.string((thunk & 0x7FFFFFFF) + 2))
                entry += self.thunk_size
        return sorted(names)

    def resources(self, type_id):
        """The data of every resource of this numeric type."""
        root, _ = self.directory(RESOURCE)
        if root is None:
            return []

        def entries(table):
            named, numbered = struct.unpack_from("<HH", self.data, root + table + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, root + table + 16 + 8 * i)

        def leaves(target):
            if target & 0x80000000:
                for _, child in entries(target & 0x7FFFFFFF):
                    yield from leaves(child)
            else:
                rva, size = struct.unpack_from("<II", self.data, root + target)
                yield self.data[self.offset(rva):self.offset(rva) + size]

        return [leaf for name, target in entries(0) if name == type_id for leaf in leaves(target)]


def version_info(pe):
    """The version resource's strings, and its fixed numbers as FILEVERSION and PRODUCTVERSION.
    Each block of the resource holds its length, its value's length, whether the value is
    text, its key, and after its value (both 4-byte aligned) the blocks it holds."""
    found = {}

    def walk(data, start, end):
        while start + 6 <= end:
            length, value_length, text = struct.unpack_from("<HHH", data, start)
            key_end = data.index(b"\0\0", start + 6)
            key_end += (key_end - start) % 2  # the key's NUL is a UTF-16 character
            value_start = (key_end + 5) & ~3
            value = data[value_start:value_start + value_length * (2 if text else 1)]
            if text and value_length:
                found[data[start + 6:key_end].decode("utf-16-le")] = value.decode("utf-16-le").rstrip("\0")
            elif value[:4] == struct.pack("<I", FIXED_FILE_INFO_SIGNATURE):
                numbers = struct.unpack_from("<4I", value, 8)
                for name, (high, low) in (("FILEVERSION", numbers[:2]), ("PRODUCTVERSION", numbers[2:])):
                    found[name] = f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"
            walk(data, (value_start + len(value) + 3) & ~3, start + length)
            start = (start + length + 3) & ~3 if length else end

    for resource in pe.resources(RT_VERSION):
        walk(resource, 0, len(resource))
    return found


def check_version_info(pe, wanted):
    found = version_info(pe)
    failures = []
    for key, _, value in (item.partition("=") for item in wanted):
        print(f"{key}: {found.get(key)}")
        if found.get(key) != value:
            failures.append(f"{key} is {found.get(key)!r}, expected {value!r}")
    return failures


def check_manifest(pe):
    manifests = pe.resources(RT_MANIFEST)
    print(f"manifests: {len(manifests)}")
    if len(manifests) != 1:
        return ["expected exactly one application manifest"]
    try:
        root = ElementTree.fromstring(manifests[0])
    except ElementTree.ParseError as error:
        return [f"the manifest is not well-formed XML: {error}"]
    found = {element.tag.split("}")[-1]: element for element in root.iter()}
    failures = []
    identity = root.find(f"{{{ASSEMBLY_NAMESPACE}}}assemblyIdentity")
    architecture = identity.get("processorArchitecture") if identity is not None else None
    print(f"  processorArchitecture: {architecture}")
    if architecture != MANIFEST_ARCHITECTURE.get(pe.machine):
        failures.append(f"processorArchitecture {architecture} does not fit machine {pe.machine}")
    aware = found.get("dpiAware")
    awareness = found.get("dpiAwareness")
    aware_text = aware.text.strip() if aware is not None and aware.text else None
    awareness_list = [part.strip() for part in awareness.text.split(",")] \
        if awareness is not None and awareness.text else []
    print(f"  dpiAware: {aware_text}\n  dpiAwareness: {', '.join(awareness_list)}")
    if aware is None or aware.tag != "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware" \
            or aware_text != "true/pm":
        failures.append("dpiAware is not true/pm in the 2005 WindowsSettings namespace")
    if awareness is None \
            or awareness.tag != "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness" \
            or awareness_list != ["PerMonitorV2", "PerMonitor"]:
        failures.append("dpiAwareness is not PerMonitorV2, PerMonitor in the 2016 WindowsSettings namespace")
    systems = {element.get("Id", "").lower() for element in root.iter()
               if element.tag == "{urn:schemas-microsoft-com:compatibility.v1}supportedOS"}
    for guid, name in SUPPORTED_OS.items():
        print(f"  supportedOS {name}: {'yes' if guid in systems else 'no'}")
        if guid not in systems:
            failures.append(f"{name} is not listed as a supported system")
    return failures + check_common_controls(root, architecture)


def check_common_controls(root, architecture):
    """The program depends on Common Controls 6, for its own architecture or any."""
    path = "/".join(f"{{{ASSEMBLY_NAMESPACE}}}{tag}"
                    for tag in ("dependency", "dependentAssembly", "assemblyIdentity"))
    for dependency in root.findall(path):
        if dependency.get("name") != "Microsoft.Windows.Common-Controls":
            continue
        wanted = {"type": "win32", "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}
        found = {key: dependency.get(key) for key in wanted}
        dependency_architecture = dependency.get("processorArchitecture")
        print(f"  Common Controls: {found['version']}, processorArchitecture {dependency_architecture}")
        failures = [f"Common Controls {key} is {found[key]}, expected {value}"
                    for key, value in wanted.items() if found[key] != value]
        if dependency_architecture not in (architecture, "*"):
            failures.append(f"Common Controls for {dependency_architecture}, not {architecture}")
        return failures
    print("  Common Controls: none")
    return ["no dependency on Common Controls 6"]


def check_stdcall(pe, data, objdump, wanted):
    """Finds the first return of each export's code in objdump's disassembly."""
    addresses = pe.export_addresses()
    failures = []
    with tempfile.NamedTemporaryFile(suffix=".dll") as copy:
        copy.write(data)
        copy.flush()
        for item in wanted:
            name, _, size = item.partition("=")
            if name not in addresses:
                failures.append(f"{name} is not exported")
                continue
            start = addresses[name]
            listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", f"--start-address={start:#x}",
                                      f"--stop-address={start + 512:#x}", copy.name],
                                     check=True, stdout=subprocess.PIPE, text=True).stdout
            returns = re.search(r"\t(ret[lw]?|jmp)\b\s*(\$0x([0-9a-f]+))?", listing)
            if returns is None or returns.group(1) == "jmp":
                failures.append(f"cannot see how {name} returns")
                continue
            popped = int(returns.group(3), 16) if returns.group(3) else 0
            print(f"{name}: ret {popped}")
            if popped != int(size):
                failures.append(f"{name} takes {popped} bytes off the stack, expected {size}")
    return failures


ALIGNED_SSE_MOVES = {"movaps", "movapd", "movdqa", "movntps", "movntpd", "movntdq"}
# SSE instructions whose memory operand may lie anywhere: unaligned moves, scalar
# operations and those that read or write 8 bytes or less.
UNALIGNED_SSE = {"movups", "movupd", "movdqu", "lddqu", "movd", "movq", "movlps", "movhps",
                 "movlpd", "movhpd", "movss", "movsd", "cvtps2pd", "cvtdq2pd", "pinsrw", "pextrw",
                 "pinsrb", "pinsrd", "pextrb", "pextrd", "insertps", "extractps", "movntq",
                 "movddup", "movmskps", "movmskpd", "pmovmskb"}
SCALAR_SSE = re.compile(r"(ss|sd)[lq]?$|^cvt\w*(ss|sd|si)2|^(u?comis[sd]|ucomis[sd])$|^pmov[sz]x")
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\t(\S+)\s*(.*)$")
STACK_OPERAND = re.compile(r"\(%e[bs]p[,)]")
DIRECT_CALL = re.compile(r"^(?:0x)?([0-9a-f]+)\b")
REALIGNMENT = re.compile(r"^\$0xffffff[0-9a-f]0,%esp$")


def needs_sixteen_byte_alignment(mnemonic, operands):
    """An SSE instruction (not VEX-encoded) whose 16-byte memory operand must be aligned:
    the aligned moves, and the packed operations that read their source from memory."""
    if mnemonic in ALIGNED_SSE_MOVES:
        return True
    if "%xmm" not in operands or "(" not in operands or mnemonic.startswith("v"):
        return False
    return mnemonic not in UNALIGNED_SSE and not SCALAR_SSE.search(mnemonic)


def check_stack_alignment(data, objdump):
    """(x86) Windows keeps a 32-bit thread's stack only 4-byte aligned, so an aligned
    SSE access to the stack is sound only in a function that first aligns its own
    frame. Functions start at direct call targets; one that aligns its frame does
    so with `and $-16,%esp` (or a wider mask) before any such move."""
    with tempfile.NamedTemporaryFile(suffix=".pe") as copy:
        copy.write(data)
        copy.flush()
        listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", copy.name], check=True,
                                 stdout=subprocess.PIPE, text=True).stdout
    instructions = []
    starts = set()
    for line in listing.splitlines():
        match = INSTRUCTION.match(line)
        if match is None:
            continue
        address, mnemonic, operands = int(match.group(1), 16), match.group(2), match.group(3)
        instructions.append((address, mnemonic, operands))
        if mnemonic in ("call", "calll"):
            target = DIRECT_CALL.match(operands)
            if target:
                starts.add(int(target.group(1), 16))
    realigned = False
    realigning = moves = 0
    unaligned = []
    for address, mnemonic, operands in instructions:
        if address in starts:
            realigned = False
        if mnemonic in ("and", "andl") and REALIGNMENT.match(operands):
            realigned = True
            realigning += 1
        if needs_sixteen_byte_alignment(mnemonic, operands) and STACK_OPERAND.search(operands):
            moves += 1
            if not realigned:
                unaligned.append(f"{address:#x}: {mnemonic} {operands}")
    print(f"{len(starts)} functions called directly, {realigning} align their frame; "
          f"{moves} aligned SSE accesses to the stack, {len(unaligned)} of them in a frame not aligned")
    for move in unaligned[:10]:
        print(f"  {move}")
    return [f"{len(unaligned)} aligned SSE accesses to a stack that may be only 4-byte aligned"] \
        if unaligned else []


def verdict(failures):
    """Prints each failure, or "ok" when there is none; the exit status."""
    for failure in failures:
        print(f"FAIL: {failure}")
    if not failures:
        print("ok")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("file")
    parser.add_argument("--zip")
    parser.add_argument("--machine", choices=sorted(MACHINES.values()))
    parser.add_argument("--subsystem", choices=sorted(SUBSYSTEMS.values()))
    parser.add_argument("--max-size", type=int)
    parser.add_argument("--exports", nargs="+")
    parser.add_argument("--imports-only", nargs="+")
    parser.add_argument("--imports-none", nargs="+")
    parser.add_argument("--functions-none", nargs="+")
    parser.add_argument("--version-info", nargs="+")
    parser.add_argument("--manifest", action="store_true")
    parser.add_argument("--stdcall", nargs="+")
    parser.add_argument("--aligned-stack-sse", action="store_true")
    parser.add_argument("--objdump")
    args = parser.parse_args()

    try:
        if args.zip:
            with zipfile.ZipFile(args.zip) as archive:
                data = archive.read(args.file)
        else:
            with open(args.file, "rb") as file:
                data = file.read()
        pe = PeFile(data)
    except (OSError, KeyError, ValueError, zipfile.BadZipFile) as error:
        print(f"FAIL: cannot read {args.file}: {error}")
        return 1

    failures = []
    if args.machine:
        print(f"machine: {pe.machine}")
        if pe.machine != args.machine:
            failures.append(f"machine {pe.machine}, expected {args.machine}")
    if args.subsystem:
        print(f"subsystem: {pe.subsystem}")
        if pe.subsystem != args.subsystem:
            failures.append(f"subsystem {pe.subsystem}, expected {args.subsystem}")
    if args.max_size is not None:
        print(f"size: {len(data)} bytes")
        if len(data) >= args.max_size:
            failures.append(f"{len(data)} bytes, not below {args.max_size}")
    if args.exports:
        names, slots = pe.exports()
        print("exported names:", *names, sep="\n  ")
        if sorted(names) != sorted(args.exports):
            failures.append(f"expected exactly the names {', '.join(sorted(args.exports))}")
        if slots != len(args.exports):
            failures.append(f"{slots} export slots for {len(args.exports)} names")
    if args.imports_only or args.imports_none:
        dlls = pe.imported_dlls()
        print("imported DLLs:", *dlls, sep="\n  ")
        allowed = {dll.lower() for dll in args.imports_only or []}
        if args.imports_only:
            failures += [f"imports {dll}" for dll in dlls if dll not in allowed]
        failures += [f"imports {dll}" for dll in dlls for pattern in args.imports_none or []
                     if fnmatch.fnmatchcase(dll, pattern.lower())]
    if args.functions_none:
        functions = pe.imported_functions()
        print(f"{len(functions)} functions imported by name")
        failures += [f"imports {name}" for name in args.functions_none if name in functions]
    if args.version_info:
        failures += check_version_info(pe, args.version_info)
    if args.manifest:
        failures += check_manifest(pe)
    if args.stdcall:
        failures += check_stdcall(pe, data, args.objdump or "objdump", args.stdcall)
    if args.aligned_stack_sse:
        failures += check_stack_alignment(data, args.objdump or "objdump")

    return verdict(failures)


if __name__ == "__main__":
    sys.exit(main())
