#!/usr/bin/python3
"""Reads a file written by the grid export with a real reader and prints
its rows as JSON: a list of sheets, each a list of rows of cells.

usage: lectores.py kind path    (kind: txt, csv, htm, rtf, xls)
"""
import csv
import html.parser
import json
import subprocess
import sys


def texto(path):
    with open(path, encoding="cp1252", newline="") as f:
        data = f.read()
    assert data.endswith("\r\n"), "lines end in CR LF"
    return [[line.split("\t") for line in data[:-2].split("\r\n")]]


def valores_csv(path):
    with open(path, encoding="cp1252", newline="") as f:
        return [list(csv.reader(f, strict=True))]


class Tabla(html.parser.HTMLParser):
    def __init__(self, pendiente=False):
        super().__init__(convert_charrefs=True)
        self.filas, self.celda = [], None
        # unrtf writes a cell's first character just before the cell when
        # it is an escaped one; with `pendiente` it goes back into the cell.
        self.pendiente, self.adelantado = pendiente, ""

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.filas.append([])
        elif tag in ("td", "th"):
            self.celda, self.adelantado = self.adelantado, ""

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self.celda is not None:
            self.filas[-1].append(self.celda)
            self.celda = None

    def handle_data(self, data):
        if self.celda is not None:
            self.celda += data
        elif self.pendiente and data.strip():
            self.adelantado += data


def html_de(texto_html, pendiente=False):
    tabla = Tabla(pendiente)
    tabla.feed(texto_html)
    tabla.close()
    return [tabla.filas]


def pagina(path):
    with open(path, "rb") as f:
        crudo = f.read()
    assert b'charset=windows-1252' in crudo
    return html_de(crudo.decode("cp1252"))


def rtf(path):
    # unrtf turns the RTF table into an HTML table.
    salida = subprocess.run(["unrtf", "--html", path], check=True, capture_output=True)
    return html_de(salida.stdout.decode("utf-8", "replace"), pendiente=True)


def libro(path):
    import xlrd
    book = xlrd.open_workbook(path)
    hojas = []
    for sheet in book.sheets():
        filas = []
        for r in range(sheet.nrows):
            fila = []
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype == xlrd.XL_CELL_DATE:
                    t = xlrd.xldate_as_tuple(cell.value, book.datemode)
                    fila.append({"fecha": "%04d-%02d-%02d" % t[:3]})
                elif cell.ctype == xlrd.XL_CELL_NUMBER:
                    fila.append(cell.value)
                elif cell.ctype == xlrd.XL_CELL_EMPTY:
                    fila.append(None)
                else:
                    fila.append(cell.value)
            filas.append(fila)
        hojas.append({"nombre": sheet.name, "filas": filas})
    return hojas


LECTORES = {"txt": texto, "csv": valores_csv, "htm": pagina, "rtf": rtf, "xls": libro}

if __name__ == "__main__":
    json.dump(LECTORES[sys.argv[1]](sys.argv[2]), sys.stdout, ensure_ascii=False)
