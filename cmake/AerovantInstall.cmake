# What `cmake --install` puts where (GNUInstallDirs): the program in bin, its data in
# share/aerovant, the clip decoder library in lib/aerovant, and what a desktop shows of it
# (the menu entry, the icon in its sizes, the software-centre description with screenshots).
# The icon's pictures and the screenshots are made by the build, from assets/desktop and
# by the game itself.

set(AEROVANT_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(AEROVANT_DESKTOP_SOURCES ${PROJECT_SOURCE_DIR}/assets/desktop)

# The icon, rendered at the sizes desktops look for first.
set(AEROVANT_ICON_SIZES 48 128 256)
set(AEROVANT_ICONS)
foreach(size ${AEROVANT_ICON_SIZES})
    set(icon ${AEROVANT_DESKTOP_DIR}/icons/${size}x${size}/${AEROVANT_APP_ID}.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${AEROVANT_DESKTOP_DIR}/icons/${size}x${size}
        COMMAND ${AEROVANT_RSVG_CONVERT} --width ${size} --height ${size} --output ${icon}
                ${AEROVANT_ICON_SVG}
        DEPENDS ${AEROVANT_ICON_SVG}
        COMMENT "Rendering the ${size} px icon"
        VERBATIM)
    list(APPEND AEROVANT_ICONS ${icon})
endforeach()

# Screenshots of the real game: the menu (the snapshot tool), then a flight on the second
# route on autopilot seen from behind and, in another aircraft, from the cockpit, each
# doubled as the game's window shows it. The virtual clock makes them the same on every
# build.
set(AEROVANT_SCREENSHOT_DIR ${AEROVANT_DESKTOP_DIR}/screenshots)
set(AEROVANT_SCREENSHOT_WORK ${AEROVANT_DESKTOP_DIR}/screenshot-work)
set(AEROVANT_SCREENSHOTS ${AEROVANT_SCREENSHOT_DIR}/menu.png ${AEROVANT_SCREENSHOT_DIR}/flight-chase.png
    ${AEROVANT_SCREENSHOT_DIR}/flight-cockpit.png)
set(AEROVANT_HEADLESS_FLIGHT --headless --route 2 --pilot autopilot --frames 900 --shots-every 900 --align 1
    --player ${AEROVANT_SCREENSHOT_WORK}/player)
add_custom_command(OUTPUT ${AEROVANT_SCREENSHOTS}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${AEROVANT_SCREENSHOT_WORK}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${AEROVANT_SCREENSHOT_DIR} ${AEROVANT_SCREENSHOT_WORK}
    COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
            $<TARGET_FILE:aerovant-snapshot> --frames 0 --out ${AEROVANT_SCREENSHOT_WORK}/menu
    COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
            $<TARGET_FILE:aerovant> ${AEROVANT_HEADLESS_FLIGHT} --aircraft 1 --out ${AEROVANT_SCREENSHOT_WORK}/chase
    COMMAND ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
            $<TARGET_FILE:aerovant> ${AEROVANT_HEADLESS_FLIGHT} --aircraft 2 --view cockpit
            --out ${AEROVANT_SCREENSHOT_WORK}/cockpit
    COMMAND aerovant-desktop-pictures --double ${AEROVANT_SCREENSHOT_WORK}/menu/menu.png
            ${AEROVANT_SCREENSHOT_DIR}/menu.png
    COMMAND aerovant-desktop-pictures --double ${AEROVANT_SCREENSHOT_WORK}/chase/frame000900.png
            ${AEROVANT_SCREENSHOT_DIR}/flight-chase.png
    COMMAND aerovant-desktop-pictures --double ${AEROVANT_SCREENSHOT_WORK}/cockpit/frame000900.png
            ${AEROVANT_SCREENSHOT_DIR}/flight-cockpit.png
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${AEROVANT_SCREENSHOT_WORK}
    DEPENDS aerovant aerovant-snapshot aerovant-desktop-pictures aerovant_data aerovant_decoder
    COMMENT "Taking the screenshots for the software centre"
    VERBATIM)

# The menu entry and the software-centre description. AppStream wants the screenshots as web
# addresses; the game has no site yet, so they name a base address the packager sets (the
# default, under the reserved .invalid domain, resolves nowhere), and the pictures
# themselves are installed in share/aerovant/screenshots to be published there.
set(AEROVANT_SCREENSHOT_URL "https://aerovant.invalid/screenshots" CACHE STRING
    "Web folder where the installed screenshots (share/aerovant/screenshots) are published")
set(AEROVANT_RELEASE_DATE 2026-12-08)
configure_file(${AEROVANT_DESKTOP_SOURCES}/aerovant.desktop.in
    ${AEROVANT_DESKTOP_DIR}/${AEROVANT_APP_ID}.desktop @ONLY)
configure_file(${AEROVANT_DESKTOP_SOURCES}/aerovant.metainfo.xml.in
    ${AEROVANT_DESKTOP_DIR}/${AEROVANT_APP_ID}.metainfo.xml @ONLY)

add_custom_target(aerovant_desktop ALL DEPENDS ${AEROVANT_ICONS} ${AEROVANT_SCREENSHOTS})

install(FILES ${AEROVANT_ARCHIVES} DESTINATION ${AEROVANT_INSTALL_DATADIR}/data)
install(FILES ${AEROVANT_SOUNDS} DESTINATION ${AEROVANT_INSTALL_DATADIR}/sounds)
install(FILES ${AEROVANT_SCREENSHOTS} DESTINATION ${AEROVANT_INSTALL_DATADIR}/screenshots)
install(FILES ${AEROVANT_DESKTOP_DIR}/${AEROVANT_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${AEROVANT_DESKTOP_DIR}/${AEROVANT_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${AEROVANT_ICON_SIZES})
    install(FILES ${AEROVANT_DESKTOP_DIR}/icons/${size}x${size}/${AEROVANT_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${AEROVANT_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${AEROVANT_APP_ID}.svg)
