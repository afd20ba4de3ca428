"""Checks a signed catalog with asn1crypto and openssl, independently of our code: the message
digest is the digest of the trust list's contents octets, the content type is the trust list,
the statement type is individual code signing, and the signature over the authenticated
attributes verifies with the signer certificate's public key. With UNSIGNED.cat, the signed
catalog's trust list must be byte for byte the unsigned one's (signing lists the same members).

Usage: check-signature.py SIGNED.cat sha1|sha256 [UNSIGNED.cat]
Prints every finding and exits 1 when there is one."""
import hashlib
import os
import subprocess
import sys
import tempfile

from asn1crypto import cms

TRUST_LIST = '1.3.6.1.4.1.311.10.1'
failures = []


def contents_after_header(der):
    length = der[1]
    return der[2 + (length & 0x7F if length & 0x80 else 0):]


def main():
    path, algorithm = sys.argv[1], sys.argv[2]
    signed_data = cms.ContentInfo.load(open(path, 'rb').read())['content']
    listed = contents_after_header(signed_data['encap_content_info']['content'].dump())
    if signed_data['encap_content_info']['content_type'].dotted != TRUST_LIST:
        failures.append('the content is not a certificate trust list')
    if [a['algorithm'].native for a in signed_data['digest_algorithms']] != [algorithm]:
        failures.append('digest algorithms are not [%s]' % algorithm)
    signer = signed_data['signer_infos'][0]
    attributes = {a['type'].dotted: a['values'][0] for a in signer['signed_attrs']}
    digest = hashlib.new(algorithm, contents_after_header(listed)).digest()
    if attributes.get('1.2.840.113549.1.9.4').native != digest:
        failures.append('the message digest is not the digest of the trust list contents')
    if attributes.get('1.2.840.113549.1.9.3').dotted != TRUST_LIST:
        failures.append('the content type attribute is not the trust list')
    statement = attributes.get('1.3.6.1.4.1.311.2.1.11').dump()
    if statement != bytes.fromhex('300c060a2b060104018237020115'):  # { individual code signing }
        failures.append('the statement type is not individual code signing')

    with tempfile.TemporaryDirectory() as work:
        certificate = signed_data['certificates'][0].chosen
        if certificate.serial_number != signer['sid'].chosen['serial_number'].native:
            failures.append('the signer is not the first certificate')
        files = {'cert.der': certificate.dump(), 'sig.bin': signer['signature'].native,
                 'attrs.der': b'\x31' + signer['signed_attrs'].dump()[1:]}
        for name, content in files.items():
            open(os.path.join(work, name), 'wb').write(content)
        pub = subprocess.run(['openssl', 'x509', '-inform', 'DER', '-in', 'cert.der', '-noout',
                              '-pubkey'], cwd=work, capture_output=True, check=True).stdout
        open(os.path.join(work, 'pub.pem'), 'wb').write(pub)
        verified = subprocess.run(['openssl', 'dgst', '-' + algorithm, '-verify', 'pub.pem',
                                   '-signature', 'sig.bin', 'attrs.der'], cwd=work,
                                  capture_output=True)
        if verified.returncode != 0:
            failures.append('the signature does not verify: %s' % verified.stdout.decode())

    if len(sys.argv) > 3:
        unsigned = cms.ContentInfo.load(open(sys.argv[3], 'rb').read())['content']
        if contents_after_header(unsigned['encap_content_info']['content'].dump()) != listed:
            failures.append('the trust list differs from the unsigned catalog\'s')

    for failure in failures:
        print('FAIL %s: %s' % (path, failure))
    if not failures:
        print('PASS %s: signed as Authenticode signs catalogs' % path)
    return 1 if failures else 0


sys.exit(main())
