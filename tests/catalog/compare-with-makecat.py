"""Rebuilds MakeCat's SHA-256 sample catalog (osslsigncode's tests/files/unsigned.cat, written by
MakeCat with PageHashes=true) from its member files with MakeCatalog, taking the sample's list
identifier, time and OSAttr, and compares the two entry by entry: the header, OSAttr, every flat
member and every SHA-1 entry must be identical; the PE member may differ only in MakeCat's page
hashes. The sample's MSI (base64 name) and CAB members are outside what we write.

Usage: compare-with-makecat.py MAKE_CATALOG SAMPLE_DIR WORK_FOLDER"""
import datetime
import os
import subprocess
import sys

from asn1crypto import parser

FLAT = ['unsigned.js', 'unsigned.mof', 'unsigned.ps1', 'unsigned.psc1']
PE = 'unsigned.exe'


def children(encoding):
    contents, out = parser.parse(encoding)[4], []
    while contents:
        parsed = parser.parse(contents)
        size = len(parsed[3]) + len(parsed[4]) + len(parsed[5])
        out.append(contents[:size])
        contents = contents[size:]
    return out


def ctl_fields(path):
    signed_data = children(children(open(path, 'rb').read())[1])[0]
    return children(children(children(children(signed_data)[2])[1])[0])


def main():
    make_catalog, sample_dir, work = sys.argv[1:4]
    sample = ctl_fields(os.path.join(sample_dir, 'unsigned.cat'))
    list_id = parser.parse(sample[1])[4].hex()
    when = datetime.datetime.strptime(parser.parse(sample[2])[4].decode(), '%y%m%d%H%M%SZ')
    seconds = int(when.replace(tzinfo=datetime.timezone.utc).timestamp())
    extension = children(children(children(sample[5])[0])[0])  # [0] { { { OID, OCTET STRING } } }
    name_value = parser.parse(extension[1])[4]
    os_attr = parser.parse(children(name_value)[2])[4].decode('utf-16-le').rstrip('\0')
    ours_path = os.path.join(work, 'ours.cat')
    os.makedirs(work, exist_ok=True)
    subprocess.run([make_catalog, '--list-id', list_id, 'sha256', str(seconds), os_attr, ours_path]
                   + [f'{n}={os.path.join(sample_dir, n)}' for n in FLAT + [PE]], check=True)
    ours = ctl_fields(ours_path)

    findings = [f'{name} differs' for name, a, b in
                zip(['usage', 'list identifier', 'time', 'form', '', 'OSAttr'], ours, sample)
                if name and a != b]
    tag = lambda entry: parser.parse(children(entry)[0])[4]
    theirs = {tag(e): e for e in children(sample[4])}
    same = 0
    for entry in children(ours[4]):
        reference = theirs.get(tag(entry))
        if reference == entry:
            same += 1
            continue
        if reference is None:
            findings.append(f'entry {tag(entry).hex()} is not in the sample')
            continue
        # The PE member: member info and File the same, the digest in the indirect data the same.
        ours_attrs, their_attrs = children(children(entry)[1]), children(children(reference)[1])
        digest = lambda attrs: children(children(children(attrs[2])[1])[0])[1]
        if ours_attrs[:2] != their_attrs[:2] or digest(ours_attrs) != digest(their_attrs):
            findings.append(f'entry {tag(entry).hex()} differs beyond the page hashes')
    expected_same = 2 * len(FLAT) + 1  # flat members, their SHA-1 entries, the PE's SHA-1 entry
    if same != expected_same:
        findings.append(f'{same} entries identical, not {expected_same}')
    for finding in findings:
        print(f'FAIL {finding}')
    if not findings:
        print(f'PASS: {same} entries, the header and OSAttr identical to MakeCat\'s; the PE member '
              'differs only in its page hashes')
    return 1 if findings else 0


sys.exit(main())
