# Writes OUT from the page TEMPLATE with its style sheet CSS and script JS written into it: the
# page then asks for nothing more before its script runs.
file(READ ${TEMPLATE} page)
file(READ ${CSS} css)
file(READ ${JS} js)
string(REPLACE "<link rel=\"stylesheet\" href=\"shell.css\">" "<style>\n${css}</style>" page "${page}")
string(REPLACE "<script src=\"shell.js\"></script>" "<script>\n${js}</script>" page "${page}")
file(WRITE ${OUT}.tmp "${page}")
file(RENAME ${OUT}.tmp ${OUT})
