# Writes OUT from the page TEMPLATE with its style sheet CSS and scripts BOOT and JS written into
# it: the page then asks for nothing more before its scripts run.
file(READ ${TEMPLATE} page)
file(READ ${CSS} css)
file(READ ${BOOT} boot)
file(READ ${JS} js)
string(REPLACE "<link rel=\"stylesheet\" href=\"shell.css\">" "<style>\n${css}</style>" page "${page}")
string(REPLACE "<script src=\"boot.js\"></script>" "<script>\n${boot}</script>" page "${page}")
string(REPLACE "<script src=\"shell.js\"></script>" "<script>\n${js}</script>" page "${page}")
file(WRITE ${OUT}.tmp "${page}")
file(RENAME ${OUT}.tmp ${OUT})
