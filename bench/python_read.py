#!/usr/bin/env python3
"""The least a Python build of bank.bin does: parse the project's three documents with the standard library's
ElementTree (its C parser) and count the selected bytes of each node. Usage: python_read.py PROJECT_DIR"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

project = Path(sys.argv[1])
ET.parse(project / "pargen.xml")
ET.parse(project / "DNET_Net.xml")
selected = [sum(row.get("Select") == "Y" for row in direction)
            for node in ET.parse(project / "DefByte.xml").getroot() for direction in node]
print(sum(selected))
