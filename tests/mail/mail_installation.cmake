# The installation of the host mail tests, made anew in INSTALL: notes.ini naming Ann Lee's
# mail file on CN=Mail1/O=Acme, her ID file, and the address books, mail.box and mail file of
# DATA (tests/data/mail). Sets server to the server's folder.
file(REMOVE_RECURSE ${INSTALL})
file(WRITE ${INSTALL}/notes.ini
     "[Notes]\nDirectory=data\nKeyFileName=user.id\nMailType=0\nMailServer=CN=Mail1/O=Acme\nMailFile=mail/alee.nsf\n")
file(WRITE ${INSTALL}/data/user.id "CN=Ann Lee/O=Acme\n")
set(server ${INSTALL}/data/servers/Mail1)
configure_file(${DATA}/names.nsf ${INSTALL}/data/names.nsf COPYONLY)
configure_file(${DATA}/names.nsf ${server}/names.nsf COPYONLY)
configure_file(${DATA}/alee.nsf ${server}/mail/alee.nsf COPYONLY)
configure_file(${DATA}/mail.box ${server}/mail.box COPYONLY)
