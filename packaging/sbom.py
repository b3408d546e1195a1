#!/usr/bin/python3
"""Software bills of materials (SPDX 2.3, JSON) for Dilmora's release artefacts, and their check.

  sbom.py deb DEB IDENTITY_SH                      the .deb: its files, its Debian dependencies
  sbom.py windows EXE IDENTITY_SH COMPONENTS QT_SOURCE [EXE_INSIDE]
                                                   dilmora.exe: the program and what is linked into
                                                   it (components.json; Qt from Debian's source
                                                   package QT_SOURCE, "qt6-base 6.4.2+dfsg-10");
                                                   with EXE_INSIDE, EXE is the installer holding it
  sbom.py check FOLDER                             every *.spdx.json in FOLDER: valid SPDX 2.3,
                                                   and its checksums match the artefacts there

The documents are written to standard output. Their time is SOURCE_DATE_EPOCH and their
namespace is made from the artefact's checksum, so one commit gives the same bytes.
IDENTITY_SH is the tools' identity.sh (`cmake -D IDENTITY_SH=... -P packaging/identity.cmake`).
"""

import datetime
import hashlib
import json
import os
import re
import subprocess
import sys

from debian.copyright import Copyright, Error as CopyrightError
from debian.deb822 import Packages
from debian.debfile import DebFile

SPDX_LICENSE_IDS = "/usr/share/nodejs/spdx-license-ids/index.json"  # node-spdx-license-ids
SPDX_EXCEPTION_IDS = "/usr/share/nodejs/spdx-exceptions/index.json"  # node-spdx-exceptions

# Dilmora's own licence: LICENSE.
DILMORA_LICENSE = "MIT"

# Licences of dependencies whose Debian copyright file is not machine-readable.
KNOWN_LICENSES = {
    "libc6": "LGPL-2.1-or-later",
    "libgcc-s1": "GPL-3.0-or-later WITH GCC-exception-3.1",
    "libstdc++6": "GPL-3.0-or-later WITH GCC-exception-3.1",
}

# Debian's short licence names (copyright format 1.0) as SPDX identifiers.
DEBIAN_LICENSE_NAMES = {
    "apache-2.0": "Apache-2.0",
    "artistic": "Artistic-1.0-Perl",
    "bitstream-vera": "Bitstream-Vera",
    "bsd-2-clause": "BSD-2-Clause",
    "bsd-3-clause": "BSD-3-Clause",
    "bsl-1.0": "BSL-1.0",
    "cc0-1.0": "CC0-1.0",
    "expat": "MIT",
    "mit": "MIT",
    "mpl-2.0": "MPL-2.0",
    "ofl-1.1": "OFL-1.1",
    "zlib": "Zlib",
}
for _version in ("2", "2.1", "3"):
    for _family in ("GPL", "LGPL", "AGPL", "GFDL"):
        _spdx = f"{_family}-{_version}" + (".0" if "." not in _version else "")
        DEBIAN_LICENSE_NAMES[f"{_family.lower()}-{_version}"] = f"{_spdx}-only"
        DEBIAN_LICENSE_NAMES[f"{_family.lower()}-{_version}+"] = f"{_spdx}-or-later"


def fail(message):
    print(f"sbom.py: {message}", file=sys.stderr)
    sys.exit(1)


def read_identity(path):
    identity = {}
    with open(path, encoding="utf-8") as file:
        for line in file:
            match = re.match(r"^(\w+)='(.*)'$", line.strip())
            if match:
                identity[match[1]] = match[2]
    return identity


def digests(data):
    return {"SHA1": hashlib.sha1(data).hexdigest(), "SHA256": hashlib.sha256(data).hexdigest()}


def file_sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def spdx_id(kind, name):
    return f"SPDXRef-{kind}-" + re.sub(r"[^A-Za-z0-9.-]", "-", name)


def creation_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        fail("SOURCE_DATE_EPOCH is not set (the commit's time: git log -1 --format=%ct)")
    when = datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc)
    return when.strftime("%Y-%m-%dT%H:%M:%SZ")


def document(identity, artefact, described, packages, files=(), relationships=()):
    """An SPDX 2.3 document that describes the artefact's package."""
    sha256 = file_sha256(artefact)
    name = os.path.basename(artefact)
    return {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": name,
        "documentNamespace": f"{identity['homepage']}/spdx/{name}-{sha256}",
        "creationInfo": {
            "created": creation_time(),
            "creators": [f"Organization: {identity['authors']}", "Tool: dilmora-sbom.py"],
        },
        "documentDescribes": [described],
        "packages": list(packages),
        "files": list(files),
        "relationships": [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                           "relatedSpdxElement": described}] + list(relationships),
    }


def dilmora_package(identity, artefact, copyright_text):
    return {
        "SPDXID": "SPDXRef-Package-dilmora",
        "name": identity["internal_name"],
        "versionInfo": identity["version"],
        "packageFileName": os.path.basename(artefact),
        "supplier": f"Organization: {identity['authors']}",
        "downloadLocation": "NOASSERTION",
        "homepage": identity["homepage"],
        "primaryPackagePurpose": "APPLICATION",
        "checksums": [{"algorithm": "SHA256", "checksumValue": file_sha256(artefact)}],
        "licenseConcluded": "NOASSERTION",
        "licenseDeclared": DILMORA_LICENSE,
        "copyrightText": copyright_text,
    }


def license_copyright(source_dir):
    with open(os.path.join(source_dir, "LICENSE"), encoding="utf-8") as file:
        for line in file:
            if line.startswith("Copyright"):
                return line.strip()
    return "NOASSERTION"


def debian_license(package):
    """The SPDX expression of a Debian package's licence, from the "Files: *" paragraph of its
    machine-readable copyright file, or None."""
    if package in KNOWN_LICENSES:
        return KNOWN_LICENSES[package]
    try:
        with open(f"/usr/share/doc/{package}/copyright", encoding="utf-8", errors="replace") as file:
            copyright = Copyright(file, strict=False)
    except (OSError, CopyrightError):
        return None
    paragraph = next((p for p in copyright.all_files_paragraphs() if "*" in p.files), None)
    if not paragraph or not paragraph.license:
        return None
    expression = []
    for word in paragraph.license.synopsis.split():
        if word.lower() in ("or", "and"):
            expression.append(word.upper())
        elif word.lower() in DEBIAN_LICENSE_NAMES:
            expression.append(DEBIAN_LICENSE_NAMES[word.lower()])
        else:
            return None
    return " ".join(expression)


def installed_files(deb):
    """The regular files that a .deb installs, by their path ("./usr/bin/dilmora"), with their bytes."""
    with DebFile(deb) as deb_file:
        archive = deb_file.data.tgz()
        return {"./" + member.name.lstrip("./"): archive.extractfile(member).read()
                for member in archive.getmembers() if member.isfile()}


def purl_version(version):
    return version.replace("%", "%25").replace("+", "%2B").replace(":", "%3A")


def make_deb(deb, identity_path):
    identity = read_identity(identity_path)
    source_dir = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with DebFile(deb) as deb_file:
        control = Packages(deb_file.debcontrol())   # as Packages, its relations are parsed

    # The installed files, with their checksums; the package's verification
    # code is the SHA-1 of their sorted SHA-1s.
    files = []
    for name, data in sorted(installed_files(deb).items()):
        files.append({
            "SPDXID": spdx_id("File", name.lstrip("./")),
            "fileName": name,
            "checksums": [{"algorithm": a, "checksumValue": v} for a, v in digests(data).items()],
            "licenseConcluded": DILMORA_LICENSE,
            "copyrightText": "NOASSERTION",
        })
    sha1s = sorted(c["checksumValue"] for f in files for c in f["checksums"] if c["algorithm"] == "SHA1")
    package = dilmora_package(identity, deb, license_copyright(source_dir))
    package["filesAnalyzed"] = True
    package["packageVerificationCode"] = {
        "packageVerificationCodeValue": hashlib.sha1("".join(sha1s).encode()).hexdigest()}
    package["licenseInfoFromFiles"] = [DILMORA_LICENSE]
    package["comment"] = f"The Debian package for {control['Architecture']}."
    relationships = [{"spdxElementId": package["SPDXID"], "relationshipType": "CONTAINS",
                      "relatedSpdxElement": f["SPDXID"]} for f in files]

    # Its Debian dependencies as installed here, each alternative that is installed.
    packages = [package]
    for alternatives in control.relations["depends"]:
        for alternative in alternatives:
            dependency = debian_package(alternative["name"])
            if not dependency:
                continue
            packages.append(dependency)
            relationships.append({"spdxElementId": package["SPDXID"], "relationshipType": "DEPENDS_ON",
                                  "relatedSpdxElement": dependency["SPDXID"]})
    return document(identity, deb, package["SPDXID"], packages, files, relationships)


TOOLCHAIN_RUNTIME = re.compile(r"winpthread|libstdc|libgcc|mingw|gcc", re.I)


def debian_package(name, relationship_comment=None):
    """A Debian package installed here, as an SPDX package, or None."""
    query = subprocess.run(["dpkg-query", "-W", "-f=${Version}\t${Architecture}\t${db:Status-Abbrev}", name],
                           capture_output=True, text=True)
    version, arch, status = (query.stdout.split("\t") + ["", "", ""])[:3]
    if query.returncode != 0 or not status.startswith("ii"):
        return None
    licence = debian_license(name)
    package = {
        "SPDXID": spdx_id("Package-deb", name),
        "name": name,
        "versionInfo": version,
        "supplier": "Organization: Debian",
        "downloadLocation": "NOASSERTION",
        "filesAnalyzed": False,
        "licenseConcluded": "NOASSERTION",
        "licenseDeclared": licence or "NOASSERTION",
        "copyrightText": "NOASSERTION",
        "externalRefs": [{"referenceCategory": "PACKAGE-MANAGER", "referenceType": "purl",
                          "referenceLocator": f"pkg:deb/debian/{name}@{purl_version(version)}?arch={arch}"}],
    }
    if not licence:
        package["licenseComments"] = f"See /usr/share/doc/{name}/copyright."
    if relationship_comment:
        package["comment"] = relationship_comment
    return package


def declared_licence(text):
    """The SPDX expression of a licence as a Qt attribution file words it:
    operators in capitals, the deprecated GPL-2.0 as the GPL-2.0-only it
    stands for; public domain has no SPDX id."""
    if text.strip().lower() == "public domain":
        return "NOASSERTION"
    expression = re.sub(r"(?<=\s)(or|and|with)(?=\s)", lambda match: match.group(1).upper(), text)
    return re.sub(r"\bGPL-2\.0(?![-+\w])", "GPL-2.0-only", expression)


def make_windows(artefact, identity_path, components_path, qt_source, program=None):
    """dilmora.exe: Dilmora and what is linked into it statically, Qt (with the libraries it
    bundles, from Debian's source package qt_source) and the mingw-w64 runtime. With program,
    the artefact is the installer that holds that dilmora.exe beside NSIS's own code."""
    identity = read_identity(identity_path)
    source_dir = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(components_path, encoding="utf-8") as file:
        components = json.load(file)
    packages, relationships = [], []
    exe = dilmora_package(identity, program or artefact, license_copyright(source_dir))
    exe["filesAnalyzed"] = False
    if program:
        installer = dilmora_package(identity, artefact, license_copyright(source_dir))
        installer.update({"SPDXID": "SPDXRef-Package-dilmora-installer", "name": f"{identity['internal_name']} Setup",
                          "primaryPackagePurpose": "INSTALL", "filesAnalyzed": False})
        packages.append(installer)
        relationships.append({"spdxElementId": installer["SPDXID"], "relationshipType": "CONTAINS",
                              "relatedSpdxElement": exe["SPDXID"]})
        nsis = debian_package("nsis", "The installer's own code: NSIS's stub and plug-ins, from Debian's nsis.")
        if nsis:
            packages.append(nsis)
            relationships.append({"spdxElementId": installer["SPDXID"], "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": nsis["SPDXID"]})
    packages.append(exe)

    entries = []
    for component in components:
        for key in ("name", "version", "license", "copyright", "homepage"):
            if key not in component:
                fail(f"{components_path}: {component.get('name', '?')} has no {key}")
        entries.append({
            "SPDXID": spdx_id("Package", f"{component['name']}-{component['version']}"),
            "name": component["name"],
            "versionInfo": component["version"],
            "downloadLocation": "NOASSERTION",
            "homepage": component["homepage"] or "NOASSERTION",
            "filesAnalyzed": False,
            "licenseConcluded": "NOASSERTION",
            "licenseDeclared": declared_licence(component["license"]),
            "copyrightText": component["copyright"] or "NOASSERTION",
        })
        if component["license"].strip().lower() == "public domain":
            entries[-1]["licenseComments"] = "In the public domain, as Qt's attribution file says."

    # Qt itself, the libraries it bundles (in Qt's source package), and the
    # compiler's runtime.
    qt = next((e for e in entries if e["name"].lower() in ("qt", "qt6", "qt 6", "qt6-base", "qt base")), None)
    if not qt:
        fail(f"{components_path} lists no Qt")
    for entry in entries:
        if entry is qt:
            entry["sourceInfo"] = f"built from Debian's source package {qt_source}"
            relationships.append({"spdxElementId": exe["SPDXID"], "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": entry["SPDXID"]})
        elif TOOLCHAIN_RUNTIME.search(entry["name"]):
            entry["sourceInfo"] = "the mingw-w64 toolchain's runtime, from Debian's mingw-w64 and gcc-mingw-w64"
            relationships.append({"spdxElementId": exe["SPDXID"], "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": entry["SPDXID"]})
        else:
            entry["sourceInfo"] = f"bundled with Qt in Debian's source package {qt_source}"
            relationships.append({"spdxElementId": qt["SPDXID"], "relationshipType": "CONTAINS",
                                  "relatedSpdxElement": entry["SPDXID"]})
    packages += entries
    described = packages[0]["SPDXID"]
    return document(identity, artefact, described, packages, relationships=relationships)


# ---- the check ---------------------------------------------------------------------------

RELATIONSHIP_TYPES = {
    "DESCRIBES", "DESCRIBED_BY", "CONTAINS", "CONTAINED_BY", "DEPENDS_ON", "DEPENDENCY_OF",
    "DEPENDENCY_MANIFEST_OF", "BUILD_DEPENDENCY_OF", "DEV_DEPENDENCY_OF", "OPTIONAL_DEPENDENCY_OF",
    "PROVIDED_DEPENDENCY_OF", "TEST_DEPENDENCY_OF", "RUNTIME_DEPENDENCY_OF", "EXAMPLE_OF", "GENERATES",
    "GENERATED_FROM", "ANCESTOR_OF", "DESCENDANT_OF", "VARIANT_OF", "DISTRIBUTION_ARTIFACT", "PATCH_FOR",
    "PATCH_APPLIED", "COPY_OF", "FILE_ADDED", "FILE_DELETED", "FILE_MODIFIED", "EXPANDED_FROM_ARCHIVE",
    "DYNAMIC_LINK", "STATIC_LINK", "DATA_FILE_OF", "TEST_CASE_OF", "BUILD_TOOL_OF", "DEV_TOOL_OF", "TEST_OF",
    "TEST_TOOL_OF", "DOCUMENTATION_OF", "OPTIONAL_COMPONENT_OF", "METAFILE_OF", "PACKAGE_OF", "AMENDS",
    "PREREQUISITE_FOR", "HAS_PREREQUISITE", "REQUIREMENT_DESCRIPTION_FOR", "SPECIFICATION_FOR", "OTHER",
}
CHECKSUM_LENGTHS = {"SHA1": 40, "SHA224": 56, "SHA256": 64, "SHA384": 96, "SHA512": 128, "MD5": 32}
PURPOSES = {"APPLICATION", "FRAMEWORK", "LIBRARY", "CONTAINER", "OPERATING-SYSTEM", "DEVICE", "FIRMWARE",
            "SOURCE", "ARCHIVE", "FILE", "INSTALL", "OTHER"}


class Checker:
    """The fields SPDX 2.3 requires of a JSON document, their forms, and its references."""

    def __init__(self, name):
        self.name = name
        self.problems = []
        with open(SPDX_LICENSE_IDS, encoding="utf-8") as file:
            self.licenses = set(json.load(file))
        with open(SPDX_EXCEPTION_IDS, encoding="utf-8") as file:
            self.exceptions = set(json.load(file))

    def problem(self, where, text):
        self.problems.append(f"{self.name}: {where}: {text}")

    def need(self, obj, where, key, kind=str):
        if key not in obj:
            self.problem(where, f"{key} is missing")
            return None
        if not isinstance(obj[key], kind) or (kind is str and not obj[key]):
            self.problem(where, f"{key} is not a {'non-empty string' if kind is str else kind.__name__}")
            return None
        return obj[key]

    def license_expression(self, where, key, text):
        if text in ("NOASSERTION", "NONE"):
            return
        tokens = re.findall(r"\(|\)|[^\s()]+", text)
        expect_id, depth, after_with = True, 0, False
        for token in tokens:
            if expect_id:
                if token == "(":
                    depth += 1
                    continue
                known = self.exceptions if after_with else self.licenses
                name = token[:-1] if token.endswith("+") and not after_with else token
                if name not in known and not token.startswith("LicenseRef-"):
                    self.problem(where, f"{key}: {token} is no SPDX {'exception' if after_with else 'licence'} id")
                expect_id, after_with = False, False
            elif token == ")":
                depth -= 1
            elif token in ("AND", "OR", "WITH"):
                expect_id, after_with = True, token == "WITH"
            else:
                self.problem(where, f"{key}: {token} where an operator belongs in '{text}'")
                return
        if expect_id or depth != 0:
            self.problem(where, f"{key}: '{text}' is incomplete")

    def checksums(self, obj, where, required=()):
        found = {}
        for checksum in obj.get("checksums", []):
            algorithm, value = checksum.get("algorithm"), checksum.get("checksumValue", "")
            if algorithm not in CHECKSUM_LENGTHS:
                self.problem(where, f"checksum algorithm {algorithm} is not one SPDX knows here")
            elif not re.fullmatch(f"[0-9a-f]{{{CHECKSUM_LENGTHS[algorithm]}}}", value):
                self.problem(where, f"{algorithm} checksum {value!r} is malformed")
            found[algorithm] = value
        for algorithm in required:
            if algorithm not in found:
                self.problem(where, f"no {algorithm} checksum")
        return found

    def check(self, doc):
        where = "document"
        if doc.get("spdxVersion") != "SPDX-2.3":
            self.problem(where, "spdxVersion is not SPDX-2.3")
        if doc.get("dataLicense") != "CC0-1.0":
            self.problem(where, "dataLicense is not CC0-1.0")
        if doc.get("SPDXID") != "SPDXRef-DOCUMENT":
            self.problem(where, "SPDXID is not SPDXRef-DOCUMENT")
        self.need(doc, where, "name")
        namespace = self.need(doc, where, "documentNamespace")
        if namespace and (not re.match(r"^[a-z][a-z0-9+.-]*://\S+$", namespace) or "#" in namespace):
            self.problem(where, "documentNamespace is no URI without a '#'")
        info = self.need(doc, where, "creationInfo", dict) or {}
        created = self.need(info, "creationInfo", "created")
        if created and not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", created):
            self.problem("creationInfo", f"created {created!r} is not YYYY-MM-DDThh:mm:ssZ")
        creators = self.need(info, "creationInfo", "creators", list) or []
        if not creators or any(not re.match(r"^(Person|Organization|Tool): \S", c) for c in creators):
            self.problem("creationInfo", "creators must name Person:, Organization: or Tool:")

        ids = {"SPDXRef-DOCUMENT"}

        def new_id(element, where):
            element_id = self.need(element, where, "SPDXID")
            if element_id and not re.fullmatch(r"SPDXRef-[A-Za-z0-9.-]+", element_id):
                self.problem(where, f"SPDXID {element_id} has characters SPDX does not allow")
            if element_id in ids:
                self.problem(where, f"SPDXID {element_id} is used twice")
            ids.add(element_id)

        files = {f.get("SPDXID"): f for f in doc.get("files", [])}
        for index, package in enumerate(doc.get("packages", [])):
            where = f"package {package.get('name', index)}"
            new_id(package, where)
            self.need(package, where, "name")
            location = self.need(package, where, "downloadLocation")
            if location and location not in ("NONE", "NOASSERTION") and "://" not in location:
                self.problem(where, f"downloadLocation {location} is no URL, NONE or NOASSERTION")
            if package.get("primaryPackagePurpose", "OTHER") not in PURPOSES:
                self.problem(where, "primaryPackagePurpose is not one of SPDX's")
            for key in ("licenseConcluded", "licenseDeclared"):
                if key in package:
                    self.license_expression(where, key, package[key])
            self.checksums(package, where)
            if package.get("filesAnalyzed", True):
                code = (package.get("packageVerificationCode") or {}).get("packageVerificationCodeValue")
                if not code:
                    self.problem(where, "files analysed, but no packageVerificationCode")
                else:
                    contained = [r["relatedSpdxElement"] for r in doc.get("relationships", [])
                                 if r.get("spdxElementId") == package.get("SPDXID")
                                 and r.get("relationshipType") == "CONTAINS"] + package.get("hasFiles", [])
                    sha1s = sorted(c["checksumValue"] for i in set(contained) if i in files
                                   for c in files[i].get("checksums", []) if c.get("algorithm") == "SHA1")
                    if hashlib.sha1("".join(sha1s).encode()).hexdigest() != code:
                        self.problem(where, "packageVerificationCode does not match its files' SHA-1s")
            elif "packageVerificationCode" in package or "hasFiles" in package:
                self.problem(where, "files not analysed, yet a verification code or files")
        for index, file in enumerate(doc.get("files", [])):
            where = f"file {file.get('fileName', index)}"
            new_id(file, where)
            self.need(file, where, "fileName")
            self.checksums(file, where, required=("SHA1",))
            if "licenseConcluded" in file:
                self.license_expression(where, "licenseConcluded", file["licenseConcluded"])

        described = set(doc.get("documentDescribes", []))
        for index, relationship in enumerate(doc.get("relationships", [])):
            where = f"relationship {index}"
            for key in ("spdxElementId", "relatedSpdxElement"):
                value = self.need(relationship, where, key)
                if value and value not in ids and value not in ("NONE", "NOASSERTION") \
                        and not value.startswith("DocumentRef-"):
                    self.problem(where, f"{key} {value} names no element of the document")
            if relationship.get("relationshipType") not in RELATIONSHIP_TYPES:
                self.problem(where, f"relationshipType {relationship.get('relationshipType')} is not SPDX's")
            if relationship.get("spdxElementId") == "SPDXRef-DOCUMENT" \
                    and relationship.get("relationshipType") == "DESCRIBES":
                described.add(relationship.get("relatedSpdxElement"))
        if not described:
            self.problem("document", "describes nothing")
        return described


def check_folder(folder):
    """Every SBOM in the folder is valid and names an artefact beside it by its SHA-256; the
    .deb's files are those in the .deb; SHA256SUMS, where present, agrees."""
    problems = []
    sums = {}
    if os.path.exists(os.path.join(folder, "SHA256SUMS")):
        with open(os.path.join(folder, "SHA256SUMS"), encoding="utf-8") as file:
            for line in file:
                value, name = line.rstrip("\n").split(maxsplit=1)
                sums[name.lstrip("*")] = value
    documents = sorted(n for n in os.listdir(folder) if n.endswith(".spdx.json"))
    if not documents:
        fail(f"no *.spdx.json in {folder}")
    for name in documents:
        with open(os.path.join(folder, name), encoding="utf-8") as file:
            try:
                doc = json.load(file)
            except json.JSONDecodeError as error:
                problems.append(f"{name}: not JSON: {error}")
                continue
        checker = Checker(name)
        described = checker.check(doc)
        problems += checker.problems
        packages = {p.get("SPDXID"): p for p in doc.get("packages", [])}
        for element in described:
            package = packages.get(element, {})
            artefact = package.get("packageFileName")
            path = os.path.join(folder, artefact or "")
            if not artefact or not os.path.isfile(path):
                problems.append(f"{name}: describes {artefact}, which is not in {folder}")
                continue
            if name != artefact + ".spdx.json":
                problems.append(f"{name}: describes {artefact}, not the artefact it is named after")
            actual = file_sha256(path)
            claimed = {c.get("algorithm"): c.get("checksumValue") for c in package.get("checksums", [])}
            if claimed.get("SHA256") != actual:
                problems.append(f"{name}: SHA-256 of {artefact} is {actual}, the SBOM says {claimed.get('SHA256')}")
            if sums and sums.get(artefact) != actual:
                problems.append(f"SHA256SUMS: {artefact} is {actual}, SHA256SUMS says {sums.get(artefact)}")
            # The files of the .deb that it names (another's may not even be readable).
            if artefact.endswith(".deb") and claimed.get("SHA256") == actual:
                inside = {member: hashlib.sha256(data).hexdigest() for member, data in installed_files(path).items()}
                listed = {f["fileName"]: {c["algorithm"]: c["checksumValue"] for c in f.get("checksums", [])}
                          .get("SHA256") for f in doc.get("files", [])}
                if listed != inside:
                    wrong = sorted(set(listed.items()) ^ set(inside.items()))
                    problems.append(f"{name}: the files and checksums differ from those in {artefact}: {wrong}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        sys.exit(1)
    print(f"{len(documents)} SBOM(s) valid, their checksums match: {', '.join(documents)}")


def main(argv):
    if len(argv) == 4 and argv[1] == "deb":
        doc = make_deb(argv[2], argv[3])
    elif len(argv) in (6, 7) and argv[1] == "windows":
        doc = make_windows(argv[2], argv[3], argv[4], argv[5], argv[6] if len(argv) == 7 else None)
    elif len(argv) == 3 and argv[1] == "check":
        check_folder(argv[2])
        return
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    checker = Checker(os.path.basename(argv[2]) + ".spdx.json")
    checker.check(doc)
    for problem in checker.problems:
        print(problem, file=sys.stderr)
    if checker.problems:
        sys.exit(1)
    json.dump(doc, sys.stdout, indent=2, ensure_ascii=False, sort_keys=False)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main(sys.argv)
