"""Decodes a catalog with asn1crypto, independently of our DER writer, and checks it against
MakeCat's layout and the members the test expects.

Usage: check-catalog.py CATALOG sha1|sha256 SECONDS OSATTR KIND:DIGEST:SHA1:NAME...
KIND is pe or flat, DIGEST the member's digest in hex (SHA-1 or SHA-256 as the catalog),
SHA1 its SHA-1 digest for the SHA-1 entry of a SHA-256 catalog (empty in a SHA-1 catalog).
Prints every finding and exits 1 when there is one."""
import datetime
import sys

from asn1crypto import core


class AlgorithmIdentifier(core.Sequence):
    _fields = [('algorithm', core.ObjectIdentifier), ('parameters', core.Any, {'optional': True})]


class TypeAndValue(core.Sequence):
    _fields = [('type', core.ObjectIdentifier), ('value', core.Any, {'optional': True})]


class DigestInfo(core.Sequence):
    _fields = [('algorithm', AlgorithmIdentifier), ('digest', core.OctetString)]


class IndirectData(core.Sequence):
    _fields = [('data', TypeAndValue), ('message_digest', DigestInfo)]


class MemberInfo(core.Sequence):
    _fields = [('subject_guid', core.BMPString), ('cert_version', core.Integer)]


class NameValue(core.Sequence):
    _fields = [('name', core.BMPString), ('flags', core.Integer), ('value', core.OctetString)]


class AnySet(core.SetOf):
    _child_spec = core.Any


class Attribute(core.Sequence):
    _fields = [('type', core.ObjectIdentifier), ('values', AnySet)]


class Attributes(core.SetOf):
    _child_spec = Attribute


class TrustedSubject(core.Sequence):
    _fields = [('tag', core.OctetString), ('attributes', Attributes)]


class TrustedSubjects(core.SequenceOf):
    _child_spec = TrustedSubject


class Extension(core.Sequence):
    _fields = [('id', core.ObjectIdentifier), ('critical', core.Boolean, {'optional': True}),
               ('value', core.OctetString)]


class Extensions(core.SequenceOf):
    _child_spec = Extension


class Usage(core.SequenceOf):
    _child_spec = core.ObjectIdentifier


class CertificateTrustList(core.Sequence):
    _fields = [('version', core.Integer, {'optional': True}), ('usage', Usage),
               ('list_identifier', core.OctetString, {'optional': True}),
               ('sequence_number', core.Integer, {'optional': True}),
               ('this_update', core.UTCTime), ('next_update', core.UTCTime, {'optional': True}),
               ('subject_algorithm', AlgorithmIdentifier),
               ('subjects', TrustedSubjects, {'optional': True}),
               ('extensions', Extensions, {'explicit': 0, 'optional': True})]


class EncapsulatedContent(core.Sequence):
    # The list itself under [0], not an OCTET STRING: decoding fails otherwise.
    _fields = [('type', core.ObjectIdentifier), ('content', CertificateTrustList, {'explicit': 0})]


class SignedData(core.Sequence):
    _fields = [('version', core.Integer), ('digest_algorithms', AnySet),
               ('content', EncapsulatedContent),
               ('certificates', AnySet, {'implicit': 0, 'optional': True}),
               ('crls', AnySet, {'implicit': 1, 'optional': True}),
               ('signer_infos', AnySet)]


class ContentInfo(core.Sequence):
    _fields = [('type', core.ObjectIdentifier), ('content', SignedData, {'explicit': 0})]


INDIRECT, MEMBER_INFO, MEMBER_INFO2, NAME_VALUE = (
    '1.3.6.1.4.1.311.2.1.4', '1.3.6.1.4.1.311.12.2.2', '1.3.6.1.4.1.311.12.2.3',
    '1.3.6.1.4.1.311.12.2.1')
GUID = {'pe': '{C689AAB8-8E78-11D0-8C47-00C04FC295EE}',
        'flat': '{DE351A42-8E59-11D0-8C47-00C04FC295EE}'}
DATA_TYPE = {'pe': '1.3.6.1.4.1.311.2.1.15', 'flat': '1.3.6.1.4.1.311.2.1.25'}
TEXT_FLAGS = 0x10010001
# The value of the indirect data's type, as in MakeCat's samples: a file link [2] holding a
# BMPString [0], "<<<Obsolete>>>" in the first form and empty in the second; PE images put the
# flags 05 a0 and the link under [0] in front.
OBSOLETE = '<<<Obsolete>>>'.encode('utf-16-be').hex()
DATA_VALUE = {('flat', False): 'a21e801c' + OBSOLETE, ('flat', True): 'a2028000',
              ('pe', False): '3026030205a0a020a21e801c' + OBSOLETE,
              ('pe', True): '300a030205a0a004a2028000'}

findings = []


def check(condition, what):
    if not condition:
        findings.append(what)


def text_value(name_value):
    return name_value['value'].native.decode('utf-16-le')


def check_entry(subject, kind, digest, name, v2):
    attributes = subject['attributes']
    raw = [a.dump() for a in attributes]
    check(raw == sorted(raw), f'{name}: attributes not in DER order')
    by_type = {a['type'].dotted: a['values'] for a in attributes}
    wanted = {MEMBER_INFO2, NAME_VALUE, INDIRECT} if v2 else {MEMBER_INFO, NAME_VALUE, INDIRECT}
    check(set(by_type) == wanted, f'{name}: attributes {sorted(by_type)}')
    check(all(len(v) == 1 for v in by_type.values()), f'{name}: an attribute has not one value')
    if set(by_type) != wanted:
        return
    value = {oid: values.contents for oid, values in by_type.items()}  # the one value's octets

    indirect = IndirectData.load(value[INDIRECT], strict=True)
    data = indirect['data']
    check(data['type'].dotted == DATA_TYPE[kind], f'{name}: data type {data["type"].dotted}')
    data_value = data.contents[len(data['type'].dump()):]
    check(data_value.hex() == DATA_VALUE[kind, v2], f'{name}: data value {data_value.hex()}')
    algorithm = indirect['message_digest']['algorithm']
    check(algorithm['algorithm'].dotted == ('2.16.840.1.101.3.4.2.1' if v2 else '1.3.14.3.2.26')
          and algorithm['parameters'].dump() == b'\x05\x00', f'{name}: digest algorithm')
    check(indirect['message_digest']['digest'].native == digest, f'{name}: digest')

    file_name = NameValue.load(value[NAME_VALUE], strict=True)
    check((file_name['name'].native, file_name['flags'].native, text_value(file_name))
          == ('File', TEXT_FLAGS, name + '\0'), f'{name}: File attribute {file_name.native}')
    if v2:
        check(value[MEMBER_INFO2] == (b'\x80\x00' if kind == 'pe' else b'\x82\x00'),
              f'{name}: member info')
    else:
        info = MemberInfo.load(value[MEMBER_INFO], strict=True)
        check((info['subject_guid'].native, info['cert_version'].native) == (GUID[kind], 0x200),
              f'{name}: member info {info.native}')


def main():
    path, algorithm, seconds, os_attribute = sys.argv[1:5]
    v2 = algorithm == 'sha256'
    raw = open(path, 'rb').read()
    outer = ContentInfo.load(raw, strict=True)  # strict: nothing may follow the one object
    check(outer['type'].dotted == '1.2.840.113549.1.7.2', 'not signed data')
    signed = outer['content']
    check(signed['version'].native == 1, 'SignedData version')
    check(len(signed['digest_algorithms']) == 0 and len(signed['signer_infos']) == 0
          and signed['certificates'].native is None and signed['crls'].native is None,
          'an unsigned catalog has no algorithms, certificates or signers')
    check(signed['content']['type'].dotted == '1.3.6.1.4.1.311.10.1', 'inner content type')

    ctl = signed['content']['content']
    check(ctl['version'].native is None and ctl['sequence_number'].native is None
          and ctl['next_update'].native is None, 'MakeCat writes no version, number, next update')
    check([u.dotted for u in ctl['usage']] == ['1.3.6.1.4.1.311.12.1.1'], 'subject usage')
    check(len(ctl['list_identifier'].native) == 16, 'list identifier')
    check(ctl['this_update'].native == datetime.datetime.fromtimestamp(int(seconds), datetime.timezone.utc),
          f'this update {ctl["this_update"].native}')
    form = ctl['subject_algorithm']
    check(form['algorithm'].dotted == ('1.3.6.1.4.1.311.12.1.3' if v2 else '1.3.6.1.4.1.311.12.1.2')
          and form['parameters'].dump() == b'\x05\x00', 'member list form')
    extensions = ctl['extensions']
    check(len(extensions) == 1 and extensions[0]['id'].dotted == NAME_VALUE
          and extensions[0]['critical'].native is None, 'catalog attributes')
    os_value = NameValue.load(extensions[0]['value'].native, strict=True)
    check((os_value['name'].native, os_value['flags'].native, text_value(os_value))
          == ('OSAttr', TEXT_FLAGS, os_attribute + '\0'), f'OSAttr {os_value.native}')

    subjects = {s['tag'].native: s for s in ctl['subjects']}
    tags = [s['tag'].native for s in ctl['subjects']]
    check(tags == sorted(tags) and len(set(tags)) == len(tags), 'entries not sorted by tag')
    expected_tags = set()
    for member in sys.argv[5:]:
        kind, digest_hex, sha1_hex, name = member.split(':', 3)
        digest = bytes.fromhex(digest_hex)
        tag = digest if v2 else (digest_hex.upper() + '\0').encode('utf-16-le')
        expected_tags.add(tag)
        check(tag in subjects, f'{name}: no entry of tag {tag.hex()}')
        if tag in subjects:
            check_entry(subjects[tag], kind, digest, name, v2)
        if v2:
            sha1_tag = bytes.fromhex(sha1_hex)
            expected_tags.add(sha1_tag)
            only_info = [MEMBER_INFO2] == [a['type'].dotted for a in subjects.get(sha1_tag, {'attributes': []})['attributes']]
            check(only_info and subjects[sha1_tag]['attributes'][0]['values'].contents
                  == (b'\x80\x00' if kind == 'pe' else b'\x82\x00'), f'{name}: SHA-1 entry')
    check(set(tags) == expected_tags, f'entries {len(set(tags) - expected_tags)} unexpected, {len(expected_tags - set(tags))} missing')

    for finding in findings:
        print(f'FAIL {path}: {finding}')
    if not findings:
        print(f'PASS {path}: {len(tags)} entries as MakeCat lays them out')
    return 1 if findings else 0


sys.exit(main())
