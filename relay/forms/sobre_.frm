DizoForm 1
# The About window: title, version and author lines, the author's web page and "Retornar".
Begin Form sobre_
    Caption = "Sobre"
    ClientWidth = 5055
    ClientHeight = 5655
    Icon = Picture("art/dizo.ico")
    Begin AnimatedPicture AniGIF2
        Left = 240
        Top = 0
        Width = 735
        Height = 1215
        TabIndex = 0
        Picture = Picture("art/anim-sobre.gif")
    End
    Begin Label Label1
        Left = 840
        Top = 240
        Width = 3975
        Height = 615
        TabIndex = 1
        Caption = "Dizo texto CHAT"
        ForeColor = &H80000002&
        Font = Font("MS Sans Serif", 24, Bold)
    End
    Begin Label Label4
        Left = 1080
        Top = 840
        Width = 3255
        Height = 375
        TabIndex = 2
        Caption = "Versão 1.0  Revisão 1  -  12/2010"
        Font = Font("MS Sans Serif", 8.25, Bold)
        Alignment = 2
    End
    Begin Line Line1
        X1 = 360
        Y1 = 1320
        X2 = 4800
        Y2 = 1320
    End
    Begin Label Label2
        Left = 600
        Top = 1440
        Width = 4095
        Height = 495
        TabIndex = 3
        Caption = "Uma criação de QD4RV"
        ForeColor = &H00008000&
        Font = Font("MS Sans Serif", 13.5, Bold)
    End
    Begin Label Label5
        Left = 1800
        Top = 1800
        Width = 1455
        Height = 615
        TabIndex = 4
        Caption = "QD4RV"
        ForeColor = &H80000001&
        Font = Font("Times New Roman", 24, Bold)
    End
    Begin Label Label3
        Left = 360
        Top = 2520
        Width = 4455
        Height = 375
        TabIndex = 5
        Caption = "Dizo chat - programas para radioamadores"
        Font = Font("MS Sans Serif", 8.25, Bold)
    End
    Begin Line Line2
        X1 = 360
        Y1 = 3000
        X2 = 4800
        Y2 = 3000
    End
    Begin Line Line3
        X1 = 360
        Y1 = 4080
        X2 = 4800
        Y2 = 4080
    End
    Begin Button servidor
        Left = 360
        Top = 4320
        Width = 2655
        Height = 1095
        TabIndex = 6
        Caption = "Visitar servidor QD4RV"
        Font = Font("Times New Roman", 12, Bold)
        cBHover = &H0000FFFF&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        ImgAlign = 4
        Image = Picture("art/servidor.bmp")
        ImgSize = 32%
        cBack = &H0080FFFF&
    End
    Begin Button retorna
        Left = 3120
        Top = 4320
        Width = 1575
        Height = 1095
        TabIndex = 7
        Caption = "Retornar"
        Font = Font("Times New Roman", 14.25, Bold)
        cBHover = &H0000FF00&
        LockHover = 1
        cGradient = &H00000000&
        Mode = 0
        Value = False
        ImgAlign = 4
        Image = Picture("art/retorna.bmp")
        ImgSize = 32%
        cBack = &H0080FF80&
    End
End
