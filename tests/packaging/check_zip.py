"""The Windows zip as a user unpacks it: the very program file that was built
and the Italian README, with Windows line ends, in one folder.

    check_zip.py <zip> <program file>
"""
import sys
import zipfile


def main(zip_path, program_path):
    with zipfile.ZipFile(zip_path) as archive:
        files = {name.rsplit("/", 1)[-1]: name for name in archive.namelist() if not name.endswith("/")}
        failures = []
        if sorted(files) != ["LEGGIMI.txt", "Nerbo.exe"]:
            failures.append("the zip holds %s, not Nerbo.exe and LEGGIMI.txt" % sorted(files))
        else:
            with open(program_path, "rb") as program:
                if archive.read(files["Nerbo.exe"]) != program.read():
                    failures.append("Nerbo.exe in the zip is not the program built")
            readme = archive.read(files["LEGGIMI.txt"])
            if readme.count(b"\n") != readme.count(b"\r\n"):
                failures.append("LEGGIMI.txt has lines without a carriage return")
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
