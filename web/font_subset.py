"""Writes the page's font: the glyphs the game draws (Latin, Cyrillic, their punctuation) cut from
the game's font, under a name of its own, as the SIL Open Font Licence asks of a modified font
whose original has a Reserved Font Name. Without fontTools the font is copied whole, unchanged.
    font_subset.py SOURCE.ttf OUT.ttf"""
import logging
import shutil
import sys

FAMILY = 'Sudoku Sans'
# ASCII, Latin-1, Cyrillic, dashes, quotes and the ellipsis, the numero sign, the minus sign.
RANGES = [(0x20, 0x7E), (0xA0, 0xFF), (0x400, 0x45F), (0x2010, 0x2026), (0x2116, 0x2116), (0x2212, 0x2212)]


def main():
    source, out = sys.argv[1], sys.argv[2]
    try:
        from fontTools import subset
    except ImportError:
        print('font_subset.py: no fontTools (apt-get install python3-fonttools): the font goes whole')
        shutil.copyfile(source, out)
        return
    logging.getLogger('fontTools').setLevel(logging.ERROR)
    options = subset.Options()
    options.name_IDs = ['*']
    options.name_languages = ['*']
    options.notdef_outline = True
    font = subset.load_font(source, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[u for a, b in RANGES for u in range(a, b + 1)])
    subsetter.subset(font)
    # Its names: the copyright, licence and designer's records stay; the font's own name changes.
    names = font['name']
    for record in list(names.names):
        if record.nameID in (1, 4, 16, 18, 21):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (6, 20):
            names.setName(FAMILY.replace(' ', '') + '-Regular', record.nameID, record.platformID,
                          record.platEncID, record.langID)
        elif record.nameID == 3:
            names.setName(FAMILY + ' Regular', 3, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 10:
            names.setName('Glyphs of the Carlito font, renamed, for the Sudoku web page', 10,
                          record.platformID, record.platEncID, record.langID)
    font.save(out)


if __name__ == '__main__':
    main()
