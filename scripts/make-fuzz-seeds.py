import struct, os
def trailer(name, saver, pic=0, typ=b'', text=0):
    n = bytes([len(name)]) + name; n = n + b'\0'*(52-len(n))
    t = bytes([len(typ)]) + typ; t = t + b'\0'*(8-len(t))
    return n + struct.pack('<i', pic) + t + struct.pack('<ii', text, saver)
d='fuzz/corpus/loader/'
stub=b'MZstub'
sv=b'SAVERBYTES'
row=b'\x00\x00\xff\x00\xff\x00'+b'\0\0'
bmp_pix=row*2
bmp=b'BM'+struct.pack('<IHHI',14+40+len(bmp_pix),0,0,54)+struct.pack('<IiiHHIIiiII',40,2,2,1,24,0,len(bmp_pix),0,0,0,0)+bmp_pix
txt=b'Hello\r\nWorld\n'
open(d+'no-picture-no-text','wb').write(stub+sv+trailer(b'Plain',len(sv)))
open(d+'bmp-and-text','wb').write(stub+sv+bmp+txt+trailer(b'Pic',len(sv),len(bmp),b'.bmp',len(txt)))
open(d+'jpg-type-holding-bmp','wb').write(stub+sv+bmp+trailer(b'Lie',len(sv),len(bmp),b'.jpg'))
open(d+'counts-exceed-file','wb').write(sv+trailer(b'Big',1000,5,b'.bmp',5))
rle=b'BM'+struct.pack('<IHHI',0,0,0,0)+struct.pack('<IiiHHIIiiII',40,4,2,1,8,1,0,0,0,2,0)+b'\0\0\xff\0\xff\0\0\0'+b'\x02\x01\x00\x00\x00\x03\x00\x01\x00\x00\x00\x01'
open(d+'rle8-bmp','wb').write(stub+sv+rle+trailer(b'Rle',len(sv),len(rle),b'.bmp'))
for f in sorted(os.listdir('fuzz/corpus/jpeg'))[:2]:
    j=open('fuzz/corpus/jpeg/'+f,'rb').read()
    open(d+'jpeg-'+f,'wb').write(stub+sv+j+txt+trailer(b'Jpg',len(sv),len(j),b'.jpg',len(txt)))
